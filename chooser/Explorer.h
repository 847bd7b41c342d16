#pragma once
// TExplorer: the program's own file and folder chooser, set up by its properties and run by
// Execute, which shows the chooser window (TExplorerDlg) modally and keeps the choice in Katalog,
// Plik and Pliki. The setters keep the options consistent with each other.
#include "chooser/explorator.h"

#include <QObject>
#include <QStringList>

#include <filesystem>
#include <vector>

class TExplorer : public QObject {
    Q_OBJECT
public:
    explicit TExplorer(QObject *owner = nullptr);

    QString Caption;
    // Shown in the middle of the hint bar when the file list is shown.
    QString Hint;
    // The start folder; after an accepted run the folder chosen, ending with "/". The home folder
    // unless set.
    QString Katalog;
    // The same folder as the system names it (bytes), set by an accepted run; a run starts there
    // while Katalog still shows it, since a name that is not UTF-8 has no text that finds it.
    QByteArray KatalogSciezka;
    // Masks of the listed files, ";"-separated.
    QString Filtr = QStringLiteral("*.DBF");
    // Widths of the file side and of the description column, in pixels.
    int SzerPlikow = 400;
    int SzerOpisow = 0;
    bool MultiWybor = false;

    TExplorerSprawdzKat OnSprawdzKatalog;
    TExplorerDodajPlik OnDodajPlik;
    // Called with the chooser window before it is shown and after it is closed; an error raised
    // there goes to the standard error box and the run goes on.
    std::function<void(QObject *sender)> BeforeExecute, AfterExecute;

    bool WyborPliku() const { return wyborPliku_; }
    void SetWyborPliku(bool on);
    bool WyborKatalogu() const { return wyborKatalogu_; }
    void SetWyborKatalogu(bool on);
    bool PlikiWidoczne() const { return plikiWidoczne_; }
    void SetPlikiWidoczne(bool on);
    bool PodgladWidoczny() const { return podgladWidoczny_; }
    void SetPodgladWidoczny(bool on);
    bool Szukanie() const { return szukanie_; }
    void SetSzukanie(bool on);
    int Wysokosc() const { return wysokosc_; }
    void SetWysokosc(int height);

    // Runs the chooser; true when the user accepted.
    bool Execute();

    // Results of an accepted run in file mode: the chosen file's full path and, with MultiWybor,
    // every chosen file's in list order. Shown paths; PlikSciezka and PlikiSciezki carry the real
    // names (bytes) to act on.
    QString Plik;
    QStringList Pliki;
    std::filesystem::path PlikSciezka;
    std::vector<std::filesystem::path> PlikiSciezki;

private:
    bool wyborPliku_ = false;
    bool wyborKatalogu_ = true;
    bool plikiWidoczne_ = false;
    bool podgladWidoczny_ = false;
    bool szukanie_ = false;
    int wysokosc_ = 400;
};
