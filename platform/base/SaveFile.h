#pragma once
// A file saved whole or not at all. The data go to a new file of an unpredictable name beside the
// target; commit() takes it in place only when every write, the flush to the disk and the close
// succeeded, so a full disk leaves the old file untouched and no new one. Unlike QSaveFile, a
// write the system took only in part, or a failed sync, is never committed.
#include <QFile>

#include <filesystem>

namespace platform {

class SaveFile : public QFile {
public:
    explicit SaveFile(const QString &target);
    ~SaveFile() override; // a file not committed is removed

    // WriteOnly only: creates the new file beside the target.
    bool open(OpenMode mode) override;
    // The target's name, which messages give.
    QString fileName() const override { return target_; }
    // Puts the file in place of the target; false when anything on the way failed, the target
    // then as it was and the new file gone. Cause() says why.
    bool commit();
    // Why the save failed, in Polish ("brak miejsca na dysku"), also errorString(); empty while
    // nothing failed.
    QString Cause() const { return cause_; }
    // "Nie można zapisać pliku <target>: <cause>".
    QString ErrorText() const;

protected:
    qint64 writeData(const char *data, qint64 len) override;

private:
    void Fail(int error);
    void Drop();

    QString target_;
    std::filesystem::path temp_;
    std::filesystem::path final_; // the target, or the file a link there names
    QString cause_;
    bool failed_ = false;
};

} // namespace platform
