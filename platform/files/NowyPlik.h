#pragma once
// A file written under a temporary name in its folder and put in place only when complete, so an
// existing file is replaced whole or not at all. The temporary file goes when this object does,
// unless it was put in place.
#include <QByteArrayView>
#include <QDateTime>

#include "platform/base/Exception.h"

#include <filesystem>
#include <sys/types.h>

// A file of the library folder that cannot be created or written.
class EZapisError : public Exception {
public:
    using Exception::Exception;
};

class TNowyPlik {
public:
    // Creates "wenoglad-XXXXXX.tmp" in katalog. Every step below raises EZapisError naming the
    // folder or the file and the cause when the system refuses it; none fails silently.
    explicit TNowyPlik(const std::filesystem::path &katalog);
    ~TNowyPlik();
    TNowyPlik(const TNowyPlik &) = delete;
    TNowyPlik &operator=(const TNowyPlik &) = delete;

    void Zapisz(QByteArrayView bajty);
    void UstawCzas(const QDateTime &czas);
    void UstawPrawa(mode_t prawa);
    // Writes the data out and renames the file to cel: over an existing cel when zastap, else only
    // when cel does not exist. True when the file is now cel; false, which is no failure, when cel
    // is there and stays as it was (not to be replaced, or one the system would not replace), the
    // temporary file then kept for another try. EZapisError when the disk does not take the data
    // or cel cannot be made; nothing is renamed then.
    bool Umiesc(const std::filesystem::path &cel, bool zastap);

private:
    std::filesystem::path katalog_;
    std::filesystem::path sciezka_;
    int fd_ = -1;
    bool umieszczony_ = false;
};
