#pragma once
// Reads RTF as rich-edit controls (and WordPad) write it, and hands the paragraphs and table rows
// to a sink. Groups are kept on an explicit stack, so nesting depth never reaches the call stack.
#include "platform/richtext/RtfSink.h"

#include <string_view>

namespace platform::rtf {

// Never throws on bad input: whatever can be read is handed on, the rest is dropped.
void ReadRtf(std::string_view rtf, RtfSink &sink);

} // namespace platform::rtf
