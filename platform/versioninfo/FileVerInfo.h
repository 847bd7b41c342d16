#pragma once
// The version resource of a Windows executable, read by our own parser from the file's bytes
// (packages are data files here; nothing is ever run). Every length and offset is checked against
// the bytes that hold it, so any file gives either the values or one of the three errors.
#include "platform/base/Exception.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <filesystem>
#include <utility>
#include <vector>

class EFileVerInfoError : public Exception {
public:
    using Exception::Exception;
};

inline const QString kBrakWersji = QStringLiteral("Niedostępna informacja o wersji");
inline const QString kBladOdczytuWersji = QStringLiteral("Błąd odczytu informacji o wersji");
inline const QString kBrakWersjiJezykowej = QStringLiteral("Brak informacji o wersji językowej");

// One StringFileInfo table: its key ("041504e2" as the file writes it) and its strings in order.
struct TTablicaNapisow {
    QString Klucz;
    std::vector<std::pair<QString, QString>> Napisy;
};

class TFileVerInfo {
public:
    // The predefined keys of a string table, in the order kNazwy names them.
    enum class Key {
        CompanyName,
        Comments,
        FileDescription,
        FileVersion,
        InternalName,
        LegalCopyright,
        LegalTrademarks,
        OriginalFilename,
    };
    static constexpr int kKeyCount = 8;

    // Reads the file's version resource. EFileVerInfoError with one of the three texts above and
    // "\r(plik: <name>)": no resource (or not an executable, or a file that cannot be opened),
    // a resource that cannot be read, no "\VarFileInfo\Translation".
    explicit TFileVerInfo(const QString &fileName);
    // The same for a file named by its bytes.
    explicit TFileVerInfo(const std::filesystem::path &file);
    // The same from bytes already in memory; fileName only names the file in the errors.
    TFileVerInfo(QByteArrayView bytes, const QString &fileName);

    // The string of a predefined key; "" when absent or for a value outside the enumeration.
    QString Value(Key key) const;
    // The string of the table of the first translation; "" when absent.
    QString ValueByName(const QString &name) const;

    quint16 Jezyk() const { return jezyk_; }
    quint16 StronaKodowa() const { return stronaKodowa_; }
    // The first translation as "%.4x%.4x".
    QString Tlumaczenie() const;
    // The table of the first translation, or nullptr.
    const TTablicaNapisow *Tablica() const;
    // Every string table in file order.
    const std::vector<TTablicaNapisow> &Tablice() const { return tablice_; }

    static const char *const kNazwy[kKeyCount];

private:
    void Czytaj(QByteArrayView bytes, const QString &fileName);

    quint16 jezyk_ = 0;
    quint16 stronaKodowa_ = 0;
    std::vector<TTablicaNapisow> tablice_;
};
