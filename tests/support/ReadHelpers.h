#pragma once
// Reading what the test writer wrote, and checking the errors that come out.
#include "core/MLineWydruk.h"
#include "platform/base/Exception.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <typeinfo>

namespace wydtest {

// The printout file's bytes through the header check and the inflating stream into the model.
void ReadFileBytes(const QByteArray &file, TMLineWydruk &model);
// An uncompressed body: compressed, put behind a good header and read.
void ReadBodyBytes(const QByteArray &body, TMLineWydruk &model);

// Passes when `run` raises exactly the exception class E (not a subclass) with `message`.
template <typename E, typename F>::testing::AssertionResult Raises(F &&run, const QString &message)
{
    try {
        run();
    } catch (const Exception &e) {
        if (typeid(e) != typeid(E))
            return ::testing::AssertionFailure()
                   << "raised " << typeid(e).name() << " (" << e.what() << ") instead of " << typeid(E).name();
        if (e.Message() != message)
            return ::testing::AssertionFailure()
                   << "message \"" << e.what() << "\", expected \"" << message.toStdString() << "\"";
        return ::testing::AssertionSuccess();
    } catch (const std::exception &e) {
        return ::testing::AssertionFailure() << "raised a foreign " << typeid(e).name() << ": " << e.what();
    }
    return ::testing::AssertionFailure() << "nothing was raised";
}

} // namespace wydtest
