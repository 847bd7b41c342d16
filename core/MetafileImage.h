#pragma once
// The picture of a kind-6 field: a whole enhanced metafile (EMF) as the host program embedded
// it, kept as bytes until it is played, with the frame that gives its aspect ratio.
#include "core/InflateStream.h"
#include "platform/emf/EmfPicture.h"

#include <QByteArray>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>

struct TMetafileImage {
    QByteArray Data;                          // the complete EMF, header included
    QRect Frame;                              // the header's frame rectangle in 0.01 mm, bounds inclusive as EMF has it
    std::optional<platform::TEmfPicture> Emf; // the same bytes as the player sees them
};

// The largest picture accepted, in bytes of EMF data.
inline constexpr quint32 kMaxMetafileBytes = 256u << 20;

// Reads one embedded metafile: a 100-byte header with the EMF signature at offset 40 and the
// total size at 48, then the rest of that size (nothing more when it is below 100). A wrong
// signature, a size above kMaxMetafileBytes or a size that runs past the body raises
// EInvalidGraphic "Metafile is not valid", and so does a picture whose header the player refuses.
// `charge`, when given, is called with the declared size before the rest is read (it may raise to
// refuse the picture).
std::unique_ptr<TMetafileImage> ReadMetafileImage(TInflateStream &stream,
                                                  const std::function<void(qint64)> &charge = {});
