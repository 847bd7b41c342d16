#include "cli/Usage.h"

#include "platform/base/Defaults.h"

namespace {

TUsage MakeCliUsage()
{
    TUsage u;
    u.Name = QStringLiteral("wenoglad-cli");
    u.Summary = QStringLiteral("wydruki programu Wenor (.wyd) bez ekranu: tekst, PDF, PNG, druk, szukanie");
    u.Synopsis = QStringLiteral("POLECENIE [ARGUMENTY]");
    u.Overview = QStringLiteral(
        "Polecenie towarzyszące przeglądarce Wenoglad pracuje na plikach wydruków programu Wenor (.wyd) bez ekranu. "
        "Strony układa tak samo jak przeglądarka i jej okno drukowania.\n\n"
        "Długie wydruki pokazują „Tworzenie stron... N%” na standardowym wyjściu błędów, gdy strony są budowane.");
    u.Placeholders = {QStringLiteral("POLECENIE"),   QStringLiteral("ARGUMENTY"), QStringLiteral("PLIK"),
                      QStringLiteral("WYJŚCIE.pdf"), QStringLiteral("KATALOG"),   QStringLiteral("L,G,P,D"),
                      QStringLiteral("TRYB"),        QStringLiteral("ZESTAW"),    QStringLiteral("KOLEJKA"),
                      QStringLiteral("N"),           QStringLiteral("WEJŚCIE"),   QStringLiteral("WYJŚCIE"),
                      QStringLiteral("ROZMIAR"),     QStringLiteral("TEKST"),     QStringLiteral("PROGRAM"),
                      QStringLiteral("PACZKA")};
    u.Sections = {
        {kCommandsTitle,
         {
             {QStringLiteral("info PLIK"),
              QStringLiteral("Odczytuje wydruk i wypisuje jego podsumowanie w JSON: wersję treści, rozdzielczość, "
                             "odstęp wierszy, liczbę wierszy na stronie, style tekstu (styl 0 to wbudowany styl "
                             "domyślny) oraz liczby rekordów, wierszy (liczonych jak przy podziale na strony), pól i "
                             "obrazków.")},
             {QStringLiteral("text PLIK"),
              QStringLiteral("Układa wydruk w strony i wypisuje tekst każdej strony, z góry na dół i od lewej do "
                             "prawej; strony oddziela znak nowej strony (form feed).")},
             {QStringLiteral("pdf PLIK -o WYJŚCIE.pdf [--margins L,G,P,D] [--mono]"),
              QStringLiteral("Zapisuje każdą stronę wydruku jako jedną stronę A4 w pionie, rozciągniętą na obszar "
                             "wewnątrz marginesów. Tekst zostaje tekstem do zaznaczenia, w osadzonych czcionkach.")},
             {QStringLiteral("pdf PLIK -o WYJŚCIE.pdf --tryb TRYB [--odwrotnie] [--strony ZESTAW] "
                             "[--margins L,G,P,D] [--mono]"),
              QStringLiteral("Układa strony na arkuszach dokładnie tak jak drukowanie (ta sama geometria i "
                             "dopełnienie) i zapisuje strony arkuszy w kolejności, jakiej potrzebuje drukarka "
                             "drukująca dwustronnie.")},
             {QStringLiteral("print PLIK [-d KOLEJKA] [--strony ZESTAW] [--tryb TRYB] [--dwustronnie | "
                             "--dwustronnie-auto] [--odwrotnie] [--kopie N] [--kolor] [--bitmapa] [--margins L,G,P,D]"),
              QStringLiteral("Drukuje do kolejki CUPS tak jak okno drukowania programu: tryby, ręczny druk "
                             "dwustronny w dwóch przebiegach albo druk dwustronny drukarki w jednym zadaniu, kopie, "
                             "kolor albo czerń i biel, strony jako pasy obrazu. Inne pytania dostają odpowiedź „tak” "
                             "na standardowym wyjściu błędów, tam też idzie ostrzeżenie, gdy wydruk czeka w "
                             "zatrzymanej kolejce (kod wyjścia zostaje 0).")},
             {QStringLiteral("png PLIK -o KATALOG [--dpi N] [--pages ZESTAW]"),
              QStringLiteral("Zapisuje każdą stronę jako obraz PNG samej strony (210 x 294 mm, białej, bez "
                             "marginesów) o nazwie KATALOG/numer.png.")},
             {QStringLiteral("thumbnail WEJŚCIE WYJŚCIE ROZMIAR"),
              QStringLiteral("Zapisuje pierwszą stronę jako PNG o wysokości ROZMIAR pikseli (od 1 do 2048), układając "
                             "tylko tę stronę: program miniatur menedżerów plików.")},
             {QStringLiteral("find PLIK TEKST"),
              QStringLiteral("Wypisuje „strona:wiersz: tekst” dla każdego wiersza ułożonych stron, który zawiera "
                             "TEKST, bez względu na wielkość liter, a gdy TEKST nie ma polskich znaków, także bez "
                             "względu na nie („zolw” znajduje „żółw”). Kwotę rozdzieloną na dwa pola wiersza "
                             "znajduje wpisaną ze spacją i bez niej. Kod wyjścia 1, gdy żaden wiersz nie pasuje.")},
             {QStringLiteral("wersja PROGRAM"),
              QStringLiteral("Wypisuje w JSON zasób wersji pliku wykonywalnego Windows: translation (język i strona "
                             "kodowa jako osiem cyfr szesnastkowych), osiem wartości predefiniowanych (CompanyName "
                             "... OriginalFilename) i pozostałe napisy pierwszej tabeli. Kod wyjścia 1 z komunikatem, "
                             "gdy plik go nie ma.")},
             {QStringLiteral("paczka PACZKA [-o KATALOG]"),
              QStringLiteral("Sprawdza paczkę wydruków tak jak dodawanie i wypisuje jej rekordy, jeden obiekt JSON w "
                             "wierszu (name, time, length, sha256). Z -o zapisuje je w KATALOGU tak jak dodawanie do "
                             "biblioteki (NAZWA.WYD z czasem rekordu), a każdy wiersz podaje też file i written; "
                             "istniejący plik zostaje nietknięty i jest zgłoszony na standardowym wyjściu błędów. Kod "
                             "wyjścia 1 dla pliku, który nie jest paczką, albo uszkodzonego rekordu (po rekordach "
                             "przed nim), 2, gdy KATALOG nie może przyjąć plików.")},
             {QStringLiteral("--help"), QStringLiteral("Wypisuje ten tekst.")},
         }},
        {kOptionsTitle,
         {
             {QStringLiteral("-o WYJŚCIE"),
              QStringLiteral("Plik PDF (pdf) albo katalog (png, paczka), do którego polecenie pisze.")},
             {QStringLiteral("--margins L,G,P,D"),
              QStringLiteral("Marginesy w milimetrach: lewy, górny, prawy i dolny; domyślnie %1, a 0,0,0,0 "
                             "daje samą stronę.")
                  .arg(defaults::MarginsText())},
             {QStringLiteral("--mono"), QStringLiteral("PDF w czerni i bieli.")},
             {QStringLiteral("--tryb TRYB"),
              QStringLiteral("Układ stron na arkuszach: normalne (strona na stronie arkusza), zmniejszone (dwie strony "
                             "na poziomej stronie arkusza) albo ksiazeczka (książeczka: 8 stron daje strony arkuszy "
                             "(8,1), (2,7), (6,3), (4,5); wydruk dwustronny składa się na pół)."),
              {QStringLiteral("normalne"), QStringLiteral("zmniejszone"), QStringLiteral("ksiazeczka")}},
             {QStringLiteral("--odwrotnie"), QStringLiteral("Odwraca kolejność arkuszy.")},
             {QStringLiteral("--strony ZESTAW"),
              QStringLiteral("Wybrane strony, np. 1-3,5 albo 5-10,12; domyślnie wszystkie.")},
             {QStringLiteral("--pages ZESTAW"), QStringLiteral("Wybrane strony obrazów PNG, jak --strony.")},
             {QStringLiteral("-d KOLEJKA"),
              QStringLiteral("Kolejka CUPS (lista: lpstat -e); domyślnie domyślna drukarka systemu.")},
             {QStringLiteral("--dwustronnie"),
              QStringLiteral("Ręczny druk dwustronny w dwóch przebiegach: między nimi polecenie czeka na Enter, gdy "
                             "arkusze są odwracane, więc potrzebuje terminala, tak samo jak tryb ksiazeczka.")},
             {QStringLiteral("--dwustronnie-auto"),
              QStringLiteral("Druk dwustronny wykonany przez drukarkę: jedno zadanie ze stronami arkuszy w "
                             "kolejności, jakiej potrzebuje drukarka (sides=two-sided-long-edge, a dla trybów "
                             "zmniejszone i ksiazeczka two-sided-short-edge), kopie zbiera drukarka; bez terminala. "
                             "Kod wyjścia 2, gdy kolejka nie drukuje dwustronnie.")},
             {QStringLiteral("--kopie N"), QStringLiteral("Drukuje N kopii, jedną po drugiej.")},
             {QStringLiteral("--kolor"), QStringLiteral("Druk w kolorze; domyślnie w czerni i bieli.")},
             {QStringLiteral("--bitmapa"), QStringLiteral("Wysyła strony jako pasy obrazu.")},
             {QStringLiteral("--dpi N"),
              QStringLiteral("Rozdzielczość obrazów PNG w punktach na cal, od 10 do 600; domyślnie 96.")},
         }},
        {QStringLiteral("KODY WYJŚCIA"),
         {
             {QStringLiteral("0"), QStringLiteral("Polecenie się udało.")},
             {QStringLiteral("1"),
              QStringLiteral("Plik nie jest prawidłowym wydrukiem albo jest zbyt duży („Wydruk jest zbyt duży, aby go "
                             "wyświetlić.”); komunikat idzie na standardowe wyjście błędów. Także: find nie znalazł "
                             "wiersza, wersja nie znalazła zasobu wersji, paczka trafiła na plik, który nie jest "
                             "paczką.")},
             {QStringLiteral("2"),
              QStringLiteral("Pliku nie można otworzyć ani zapisać albo wiersz polecenia jest błędny (także złe "
                             "marginesy, rozdzielczość czy zestaw stron).")},
             {QStringLiteral("3"),
              QStringLiteral("Zadanie drukowania nie powiodło się albo zostało anulowane; komunikat idzie na "
                             "standardowe wyjście błędów.")},
         }},
        {QStringLiteral("PLIKI"),
         {
             {QStringLiteral("/usr/share/thumbnailers/wenoglad.thumbnailer"),
              QStringLiteral("Uruchamia wenoglad-cli thumbnail dla menedżerów plików w instalacji z pakietu; INST "
                             "przeglądarki zapisuje go w /usr/local/share/thumbnailers (root) albo "
                             "~/.local/share/thumbnailers.")},
         }},
    };
    u.SeeAlso = {QStringLiteral("wenoglad(1)"), QStringLiteral("lpstat(1)")};
    return u;
}

TUsage MakeProgramUsage()
{
    TUsage u;
    u.Name = QStringLiteral("wenoglad");
    u.Summary = QStringLiteral("przeglądarka i drukarka wydruków programu Wenor (.wyd)");
    u.Synopsis = QStringLiteral("[PLIK.wyd | TEMP | INST | UNINST]");
    u.Overview = QStringLiteral(
        "Wenoglad pokazuje wydruki .wyd programu Wenor w podglądzie, drukuje je (normalnie, dwie strony na arkuszu, "
        "książeczka, ręczny druk dwustronny, odwrotna kolejność, kopie, kolor albo czerń i biel) i prowadzi ich "
        "bibliotekę. Biblioteką jest katalog samego pliku programu; w instalacji z pakietu to /opt/wenoglad/, "
        "wspólny dla użytkowników grupy users.\n\n"
        "Program patrzy tylko na pierwszy argument.");
    u.Placeholders = {QStringLiteral("PLIK.wyd")};
    u.Sections = {
        {QStringLiteral("ARGUMENTY"),
         {
             {QStringLiteral("PLIK.wyd"),
              QStringLiteral("Otwiera podgląd wydruku. Plik spoza katalogu programu jest najpierw proponowany do "
                             "skopiowania: Tak kopiuje go do biblioteki i zaznacza tam, Nie otwiera podgląd samego "
                             "pliku.")},
             {QStringLiteral("TEMP"), QStringLiteral("Tymczasowy tryb biblioteki wydruków.")},
             {QStringLiteral("INST"),
              QStringLiteral("Instaluje program z katalogu, w którym leży: uruchomiony przez roota dla całego "
                             "komputera, przez innego użytkownika tylko dla niego (katalog biblioteki musi być jego "
                             "do zapisu, inaczej „Brak uprawnień !”). Zapisuje Katalog w pliku ustawień, pozycję "
                             "pulpitu, typ MIME application/x-wenor-wydruk jako domyślny dla Wenogladu, ikony, "
                             "program miniatur i skrót na pulpicie. W katalogu zainstalowanym z pakietu niczego nie "
                             "zmienia i mówi, że program jest już zainstalowany z pakietu.")},
             {QStringLiteral("UNINST"),
              QStringLiteral("Po wpisaniu TAK usuwa to, co zapisał INST, i ustawienia, a po zakończeniu programu "
                             "skryptem WenogladRemove.sh także program, wenoglad-cli, pomoc.html i wydruki. W "
                             "katalogu zainstalowanym z pakietu niczego nie usuwa i wskazuje polecenie apt remove "
                             "wenoglad.")},
             {QStringLiteral("inny argument albo brak"), QStringLiteral("Biblioteka wydruków.")},
         }},
        {QStringLiteral("KLAWISZE"),
         {
             {QStringLiteral("Enter"),
              QStringLiteral("W bibliotece otwiera zaznaczony wydruk (także dwuklik); w podglądzie otwiera okno "
                             "drukowania, gdy strony są gotowe.")},
             {QStringLiteral("F2"), QStringLiteral("Zmienia nazwę zaznaczonego wydruku.")},
             {QStringLiteral("F7"),
              QStringLiteral("Dodaje wydruki albo paczki z innego katalogu; tak samo pliki upuszczone na okno.")},
             {QStringLiteral("F8"), QStringLiteral("Usuwa zaznaczony wydruk.")},
             {QStringLiteral("Esc"),
              QStringLiteral("Zamyka okno; w podglądzie z paskiem wyszukiwania zamyka tylko pasek.")},
             {QStringLiteral("F1"), QStringLiteral("W podglądzie otwiera stronę pomocy pomoc.html.")},
             {QStringLiteral("Ctrl+F"),
              QStringLiteral("Pasek wyszukiwania podglądu: Enter albo F3 następne trafienie, Shift+Enter albo "
                             "Shift+F3 poprzednie.")},
             {QStringLiteral("Ctrl+C"),
              QStringLiteral("Kopiuje tekst widocznej strony, a przy trafieniu na pasku jego wiersz.")},
             {QStringLiteral("Ctrl+kółko"), QStringLiteral("Powiększa i pomniejsza wokół wskaźnika.")},
         }},
        {QStringLiteral("KODY WYJŚCIA"),
         {
             {QStringLiteral("0"), QStringLiteral("Koniec pracy, także INST i UNINST.")},
             {QStringLiteral("1"), QStringLiteral("INST albo UNINST przerwane błędem, pokazanym w okienku.")},
         }},
        {QStringLiteral("PLIKI"),
         {
             {QStringLiteral("/opt/wenoglad/"),
              QStringLiteral("Katalog programu w instalacji z pakietu: wenoglad, wenoglad-cli, pomoc.html i wydruki "
                             "*.wyd, które użytkownicy grupy users mogą otwierać, przemianowywać i usuwać.")},
             {QStringLiteral("pomoc.html"), QStringLiteral("Strona pomocy obok pliku programu.")},
             {QStringLiteral("/etc/xdg/Wenoglad/Wenoglad.conf"),
              QStringLiteral("Katalog: katalog biblioteki dla innych programów, z pakietu albo z INST roota.")},
             {QStringLiteral("~/.config/Wenoglad/Wenoglad.conf"),
              QStringLiteral("Ustawienia użytkownika: rozmiar okna, marginesy i opcje drukowania, a po INST zwykłego "
                             "użytkownika także Katalog.")},
             {QStringLiteral("/usr/share/applications/wenoglad.desktop"),
              QStringLiteral("Pozycja menu z pakietu, obok typu MIME (mime/packages/wenoglad.xml), ikon "
                             "(icons/hicolor/scalable/) i programu miniatur (thumbnailers/wenoglad.thumbnailer); INST "
                             "zapisuje je w /usr/local/share (root) albo ~/.local/share, a skrót w katalogu, który "
                             "podaje xdg-user-dir DESKTOP.")},
             {QStringLiteral("WenogladRemove.sh"),
              QStringLiteral("Skrypt usuwania UNINST w katalogu tymczasowym: czeka najwyżej 60 s na zniknięcie pliku "
                             "programu, usuwa go z wenoglad-cli, pomoc.html i wydrukami, potem katalog, gdy nic w nim "
                             "nie zostało, i siebie.")},
         }},
    };
    u.SeeAlso = {QStringLiteral("wenoglad-cli(1)")};
    return u;
}

} // namespace

const TUsage &CliUsage()
{
    static const TUsage usage = MakeCliUsage();
    return usage;
}

const TUsage &ProgramUsage()
{
    static const TUsage usage = MakeProgramUsage();
    return usage;
}
