// Writes the sample printouts of examples/ and the fuzzing seeds with the test-side writer:
//   make_examples EXAMPLES_DIR [SEEDS_DIR]   (SEEDS_DIR is fuzz/seeds)
#include "tests/support/EmfBuilder.h"
#include "tests/support/WydWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringEncoder>

#include <cstdio>
#include <utility>
#include <vector>

using namespace wydtest;

namespace {

// Printouts keep their text in the host's code page.
QByteArray Ansi(const char *utf8)
{
    QStringEncoder encoder("windows-1250");
    return encoder.encode(QString::fromUtf8(utf8));
}

QByteArray Ansi(const QString &text)
{
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}

// Amounts in grosze as the host formats them: "12 345,67".
QString Money(qint64 grosze)
{
    const bool negative = grosze < 0;
    QString whole = QString::number((negative ? -grosze : grosze) / 100);
    for (int i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, QLatin1Char(' '));
    return (negative ? "-" : "") + whole + "," +
           QString::number((negative ? -grosze : grosze) % 100).rightJustified(2, '0');
}

// A deterministic generator, so that the samples are the same on every run.
class Random {
public:
    explicit Random(quint32 seed) : x_(seed) {}
    int Below(int n)
    {
        x_ = x_ * 1664525u + 1013904223u;
        return static_cast<int>((x_ >> 8) % static_cast<quint32>(n));
    }

private:
    quint32 x_;
};

// File units at 1200 per inch times 0.15 are page units: the page is about 9500 units wide.
constexpr qint32 kLeft = 600;
constexpr qint32 kRight = 8900;

Field Text(qint32 x, qint32 width, const QString &text, const char *style = "Normalny", quint8 align = 0)
{
    return {.X = x, .Width = width, .Alignment = align, .StyleName = style, .Text = Ansi(text)};
}

Field Rule(quint8 ruleStyle = 0, qint32 x = kLeft, qint32 width = kRight - kLeft)
{
    return {.X = x, .Width = width, .Kind = 4, .RuleStyle = ruleStyle, .StyleName = "Normalny"};
}

Line L(std::vector<Field> fields, bool skipAtTop = false)
{
    return {.SkipAtTop = static_cast<quint8>(skipAtTop), .Fields = std::move(fields)};
}

std::vector<Style> CommonStyles()
{
    return {
        {.CharHeight = 3.2f,
         .Columns = 132,
         .CharWidth = 1.55f,
         .Charset = 238,
         .FontName = "Arial",
         .Name = "Normalny",
         .Alias = "N"},
        {.CharHeight = 6.0f,
         .Columns = 70,
         .CharWidth = 3.0f,
         .FontStyle = 1,
         .Charset = 238,
         .FontName = "Arial",
         .Name = "Naglowek",
         .Alias = "H1"},
        {.Color = 0x00603000,
         .CharHeight = 4.2f,
         .Columns = 100,
         .CharWidth = 2.1f,
         .FontStyle = 1,
         .Charset = 238,
         .FontName = "Arial",
         .Name = "Podtytul",
         .Alias = "H2"},
        {.CharHeight = 3.0f,
         .Columns = 140,
         .CharWidth = 1.5f,
         .FontStyle = 1,
         .Charset = 238,
         .FontName = "Arial",
         .Name = "Kolumny",
         .Alias = "K"},
        {.CharHeight = 3.0f,
         .Columns = 140,
         .CharWidth = 1.45f,
         .Charset = 238,
         .FontName = "Courier New",
         .Name = "Tabela",
         .Alias = "T"},
        {.Color = 0x00404040,
         .CharHeight = 2.5f,
         .Columns = 170,
         .CharWidth = 1.2f,
         .FontStyle = 2,
         .Charset = 238,
         .FontName = "Times New Roman",
         .Name = "Maly",
         .Alias = "M"},
    };
}

Field PageNumber()
{
    return {
        .X = 7000, .Width = kRight - 7000, .Kind = 2, .Alignment = 1, .StyleName = "Maly", .Text = Ansi("Strona %n")};
}

// The page number follows a text field: the first field of a line is drawn in a rectangle of no
// height, which would clip a page number standing alone.
Line PageLine()
{
    return L({Text(kLeft, 6000, "Biuro-Serwis Wenor Sp. z o.o.", "Maly"), PageNumber()});
}

QByteArray Logo()
{
    // A banner 190 x 22 mm: a dark bar with a circle and a thin accent stripe.
    return EmfBuilder(0, 0, 19000, 2200, 718, 83)
        .Rectangle(0, 0, 718, 83, 0x00F0E8E0)
        .Ellipse(8, 6, 78, 76, 0x00A05020)
        .Rectangle(90, 30, 700, 52, 0x00603000)
        .Rectangle(90, 58, 400, 62, 0x002080E0)
        .Finish();
}

struct Product {
    const char *name;
    const char *unit;
    qint64 price; // grosze, net
    int vat;
};

const Product kProducts[] = {
    {"Papier ksero A4 80 g/m2 (ryza)", "szt.", 2199, 23},
    {"Długopis żelowy niebieski", "szt.", 459, 23},
    {"Segregator A4 szer. 75 mm", "szt.", 899, 23},
    {"Toner do drukarki HP 85A", "szt.", 18900, 23},
    {"Kawa ziarnista 1 kg", "opak.", 5490, 23},
    {"Herbata czarna ekspresowa 100 szt.", "opak.", 1249, 23},
    {"Woda mineralna 1,5 l (zgrzewka 6 szt.)", "zgrz.", 1194, 8},
    {"Środek do mycia szyb 750 ml", "szt.", 789, 23},
    {"Ręcznik papierowy ZZ (karton)", "karton", 8990, 23},
    {"Usługa serwisowa – przegląd kserokopiarki", "usł.", 25000, 23},
    {"Książka „Rachunkowość w praktyce”", "szt.", 7990, 5},
    {"Krzesło biurowe obrotowe", "szt.", 44900, 23},
    {"Zszywacz metalowy 24/6", "szt.", 2350, 23},
    {"Koperty C4 samoprzylepne (50 szt.)", "opak.", 1890, 23},
    {"Taśma pakowa brązowa 48 mm", "szt.", 529, 23},
    {"Mleko UHT 3,2% 1 l", "szt.", 389, 5},
};

const char *const kCustomers[] = {
    "Przedsiębiorstwo Handlowe „Żuraw” Sp. z o.o.",
    "Zakład Usług Ślusarskich Józef Łęcki",
    "Biuro Rachunkowe Małgorzata Źródłowska",
    "Hurtownia Spożywcza „Gęś” s.c.",
    "Szkoła Podstawowa nr 12 w Łodzi",
    "Apteka „Pod Świętym Łukaszem”",
    "Kancelaria Notarialna Grzegorz Wiśniewski",
    "Piekarnia Ćwikła i Synowie",
    "Gminny Ośrodek Kultury w Żółkiewce",
    "Autoserwis Bączek Sp. j.",
    "Spółdzielnia Mleczarska „Łąka”",
    "Fundacja Pomocy Dzieciom „Słoneczko”",
};

const std::vector<qint32> kColX = {kLeft, 1000, 4300, 4900, 5500, 6300, 7200, 7700};
const std::vector<qint32> kColW = {380, 3250, 550, 550, 750, 850, 450, 1200};

Record InvoiceLine(int lp, const Product &p, int qty)
{
    const qint64 net = p.price * qty;
    const qint64 gross = net + (net * p.vat + 50) / 100;
    Record r;
    r.Title.Lines.push_back(
        L({Text(kColX[0], kColW[0], QString::number(lp) + ".", "Tabela", 1),
           Text(kColX[1], kColW[1], QString::fromUtf8(p.name), "Tabela"),
           Text(kColX[2], kColW[2], QString::fromUtf8(p.unit), "Tabela", 2),
           Text(kColX[3], kColW[3], QString::number(qty), "Tabela", 1),
           Text(kColX[4], kColW[4], Money(p.price), "Tabela", 1), Text(kColX[5], kColW[5], Money(net), "Tabela", 1),
           Text(kColX[6], kColW[6], QString::number(p.vat) + "%", "Tabela", 1),
           Text(kColX[7], kColW[7], Money(gross), "Tabela", 1)}));
    return r;
}

Document Invoice()
{
    Document doc;
    doc.LineSpacing = 0.4f;
    doc.LinesPerPage = 84;
    doc.Styles = CommonStyles();
    Record &root = doc.Root;
    root.Label = "FV/2024/03/0147";
    Block &t = root.Title;
    t.Splittable = 0;
    t.Lines.push_back(L({{.Kind = 6, .StyleName = "Normalny", .Picture = Logo()}}));
    t.Lines.push_back(L({Text(kLeft, 4000, "Biuro-Serwis Wenor Sp. z o.o.", "Podtytul"),
                         Text(5500, kRight - 5500, "Kraków, dnia 15-03-2024", "Normalny", 1)}));
    t.Lines.push_back(
        L({Text(kLeft, 4000, "ul. Długa 17/3, 31-147 Kraków"), Text(5500, kRight - 5500, "Oryginał", "Maly", 1)}));
    t.Lines.push_back(L({Text(kLeft, 4000, "NIP 677-001-22-33, tel. 12 634 55 10")}));
    t.Lines.push_back(L({Text(kLeft, kRight - kLeft, "FAKTURA VAT nr FV/2024/03/0147", "Naglowek", 2)}));
    t.Lines.push_back(L({Text(kLeft, 3800, "Data sprzedaży: 15-03-2024"),
                         Text(4900, kRight - 4900, "Data wystawienia: 15-03-2024", "Normalny", 1)}));
    t.Lines.push_back(L({Rule(0)}));
    t.Lines.push_back(L({Text(kLeft, 3900, "Sprzedawca:", "Kolumny"), Text(4900, 3900, "Nabywca:", "Kolumny")}));
    t.Lines.push_back(L({Text(kLeft, 3900, "Biuro-Serwis Wenor Sp. z o.o."),
                         Text(4900, 3900, "Przedsiębiorstwo Handlowe „Żuraw” Sp. z o.o.")}));
    t.Lines.push_back(L(
        {Text(kLeft, 3900, "ul. Długa 17/3, 31-147 Kraków"), Text(4900, 3900, "ul. Świętokrzyska 5, 25-406 Kielce")}));
    t.Lines.push_back(L({Text(kLeft, 3900, "NIP 677-001-22-33"), Text(4900, 3900, "NIP 657-233-18-90")}));
    t.Lines.push_back(L({Rule(0)}));

    Block &h = root.ColumnHeader;
    h.Splittable = 0;
    const char *heads[] = {"Lp.",        "Nazwa towaru lub usługi", "J.m.", "Ilość",
                           "Cena netto", "Wartość netto",           "VAT",  "Wartość brutto"};
    std::vector<Field> headFields;
    for (size_t i = 0; i < kColX.size(); ++i)
        headFields.push_back(Text(kColX[i], kColW[i], QString::fromUtf8(heads[i]), "Kolumny", i == 1 ? 0 : 2));
    h.Lines.push_back(L(headFields));
    h.Lines.push_back(L({Rule(0)}));

    const int quantities[] = {10, 25, 12, 2, 4, 6, 3, 8, 1, 1, 2, 5};
    qint64 net[3] = {}, vat[3] = {};
    const int rates[3] = {23, 8, 5};
    for (int i = 0; i < 12; ++i) {
        const Product &p = kProducts[i];
        root.Items.push_back(InvoiceLine(i + 1, p, quantities[i]));
        const int k = p.vat == 23 ? 0 : p.vat == 8 ? 1 : 2;
        const qint64 n = p.price * quantities[i];
        net[k] += n;
        vat[k] += (n * p.vat + 50) / 100;
    }
    Block &s = root.Summary;
    s.Splittable = 0;
    s.Lines.push_back(L({Rule(2)}));
    const qint64 totalNet = net[0] + net[1] + net[2], totalVat = vat[0] + vat[1] + vat[2];
    s.Lines.push_back(
        L({Text(4300, 1900, "Razem:", "Kolumny", 1), Text(kColX[5], kColW[5], Money(totalNet), "Tabela", 1),
           Text(kColX[7], kColW[7], Money(totalNet + totalVat), "Tabela", 1)}));
    for (int k = 0; k < 3; ++k)
        s.Lines.push_back(L({Text(4300, 1900, QStringLiteral("w tym %1%:").arg(rates[k]), "Tabela", 1),
                             Text(kColX[5], kColW[5], Money(net[k]), "Tabela", 1),
                             Text(kColX[6], kColW[6], Money(vat[k]), "Tabela", 1),
                             Text(kColX[7], kColW[7], Money(net[k] + vat[k]), "Tabela", 1)}));
    s.Lines.push_back(L({Rule(3, 4300, kRight - 4300)}));
    s.Lines.push_back(
        L({Text(kLeft, kRight - kLeft, "Do zapłaty: " + Money(totalNet + totalVat) + " zł", "Podtytul", 1)}));
    // The items above come to 4 835,09 gross.
    s.Lines.push_back(
        L({Text(kLeft, kRight - kLeft, "Słownie: cztery tysiące osiemset trzydzieści pięć złotych 09/100", "Maly")}));
    s.Lines.push_back(
        L({Text(kLeft, 4000, "Sposób płatności: przelew"), Text(4900, 3900, "Termin płatności: 29-03-2024")}));
    s.Lines.push_back(L({Text(kLeft, kRight - kLeft, "Konto: PKO BP 12 1020 2892 0000 5102 0123 4567")}));
    // A note that is long enough to wrap within its field.
    s.Lines.push_back(L({Text(kLeft, kRight - kLeft,
                              "Uwagi: towar odebrano w stanie nieuszkodzonym. Reklamacje prosimy zgłaszać w ciągu "
                              "14 dni od daty dostawy na adres reklamacje@wenor-serwis.pl lub telefonicznie.",
                              "Maly")}));
    s.Lines.push_back(L({}));
    s.Lines.push_back(L({{.X = kLeft, .Width = 3400, .Kind = 5, .StyleName = "Maly", .Text = Ansi("Wystawił")},
                         {.X = 5000, .Width = 3400, .Kind = 5, .StyleName = "Maly", .Text = Ansi("Odebrał")}}));
    s.Lines.push_back(PageLine());
    return doc;
}

Document Listing()
{
    Document doc;
    doc.LineSpacing = 0.2f;
    doc.LinesPerPage = 84;
    doc.Styles = CommonStyles();
    Record &root = doc.Root;
    root.Title.Lines.push_back(L({Text(kLeft, kRight - kLeft, "Zestawienie stanów magazynowych", "Naglowek", 2)}));
    root.Title.Lines.push_back(L({Text(kLeft, kRight - kLeft, "według stanu na dzień 31-03-2024", "Maly", 2)}));
    const std::vector<qint32> x = {kLeft, 1100, 4700, 5400, 6300, 7400};
    const std::vector<qint32> w = {450, 3500, 650, 850, 1050, kRight - 7400};
    const char *heads[] = {"Indeks", "Nazwa towaru", "J.m.", "Stan", "Cena ewid.", "Wartość"};
    std::vector<Field> headFields;
    for (size_t i = 0; i < x.size(); ++i)
        headFields.push_back(Text(x[i], w[i], QString::fromUtf8(heads[i]), "Kolumny", i == 1 ? 0 : 2));
    root.ColumnHeader.Splittable = 0;
    root.ColumnHeader.Lines = {PageLine(), L(headFields), L({Rule(0)})};

    const char *warehouses[] = {"Magazyn Główny – Kraków, ul. Półłanki 18", "Magazyn Północ – Gdańsk, ul. Żaglowa 4"};
    const char *groups[] = {"Artykuły biurowe", "Artykuły spożywcze", "Chemia gospodarcza", "Wyposażenie"};
    const int groupOf[] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 3, 3, 3, 0, 0, 0, 1};
    Random random(2024);
    qint64 grand = 0;
    for (int m = 0; m < 2; ++m) {
        Record wh;
        wh.Label = Ansi(warehouses[m]);
        wh.BreakBefore = m > 0;
        wh.Title.Lines.push_back(
            L({Text(kLeft, kRight - kLeft, QString("Magazyn: ") + QString::fromUtf8(warehouses[m]), "Podtytul")}));
        qint64 whTotal = 0;
        for (int g = 0; g < 4; ++g) {
            Record group;
            group.Label = Ansi(groups[g]);
            group.Title.Splittable = 0;
            group.Title.Lines.push_back(
                L({Text(kLeft, 4000, QString("Grupa: ") + QString::fromUtf8(groups[g]), "Kolumny")}));
            qint64 total = 0;
            int count = 0;
            for (int p = 0; p < 16; ++p) {
                if (groupOf[p] != g)
                    continue;
                const int stock = 5 + random.Below(400);
                const qint64 value = kProducts[p].price * stock;
                total += value;
                ++count;
                Record row;
                row.Title.Lines.push_back(L({Text(x[0], w[0], QStringLiteral("T%1").arg(1000 + p * 7 + m), "Tabela"),
                                             Text(x[1], w[1], QString::fromUtf8(kProducts[p].name), "Tabela"),
                                             Text(x[2], w[2], QString::fromUtf8(kProducts[p].unit), "Tabela", 2),
                                             Text(x[3], w[3], QString::number(stock), "Tabela", 1),
                                             Text(x[4], w[4], Money(kProducts[p].price), "Tabela", 1),
                                             Text(x[5], w[5], Money(value), "Tabela", 1)}));
                group.Items.push_back(row);
            }
            group.Summary.Lines.push_back(L({Rule(1, x[4], kRight - x[4])}, true));
            group.Summary.Lines.push_back(
                L({Text(x[1], 4000, QStringLiteral("Razem grupa (%1 poz.):").arg(count), "Kolumny", 1),
                   Text(x[5], w[5], Money(total), "Tabela", 1)}));
            whTotal += total;
            wh.Items.push_back(group);
        }
        wh.Summary.Lines.push_back(L({Rule(2, x[4], kRight - x[4])}));
        wh.Summary.Lines.push_back(
            L({Text(x[1], 4000, "Razem magazyn:", "Kolumny", 1), Text(x[5], w[5], Money(whTotal), "Tabela", 1)}));
        grand += whTotal;
        root.Items.push_back(wh);
    }
    root.SpareLines.Lines.push_back(L({Text(kLeft, 4000, "(wiersze zapasowe – nie drukowane)", "Maly")}));
    root.Summary.Lines = {L({Rule(3)}), L({Text(x[1], 4000, "Wartość wszystkich magazynów:", "Podtytul", 1),
                                           Text(x[5], w[5], Money(grand), "Podtytul", 1)})};
    return doc;
}

Document SalesReport()
{
    Document doc;
    doc.LineSpacing = 0.0f;
    doc.LinesPerPage = 84;
    doc.Styles = CommonStyles();
    Record &root = doc.Root;
    root.Title.Lines.push_back(L({Text(kLeft, kRight - kLeft, "Raport sprzedaży – I półrocze 2024", "Naglowek", 2)}));
    root.Title.Lines.push_back(
        L({Text(kLeft, kRight - kLeft, "Biuro-Serwis Wenor Sp. z o.o., oddział Kraków", "Maly", 2)}));
    const std::vector<qint32> x = {kLeft, 1300, 2700, 6000, 6900, 7800};
    const std::vector<qint32> w = {700, 1350, 3250, 850, 850, kRight - 7800};
    const char *heads[] = {"Data", "Dokument", "Kontrahent", "Netto", "VAT", "Brutto"};
    std::vector<Field> headFields;
    for (size_t i = 0; i < x.size(); ++i)
        headFields.push_back(Text(x[i], w[i], QString::fromUtf8(heads[i]), "Kolumny", i < 3 ? 0 : 1));
    root.ColumnHeader.Splittable = 0;
    root.ColumnHeader.Lines = {PageLine(), L(headFields), L({Rule(0)})};

    const char *months[] = {"Styczeń", "Luty", "Marzec", "Kwiecień", "Maj", "Czerwiec"};
    const int days[] = {31, 29, 31, 30, 31, 30};
    Random random(7);
    int number = 0;
    qint64 yearNet = 0;
    for (int m = 0; m < 6; ++m) {
        Record month;
        month.Label = Ansi(months[m]);
        month.BreakBefore = m > 0;
        month.Title.Lines.push_back(
            L({Text(kLeft, kRight - kLeft, QString::fromUtf8(months[m]) + " 2024", "Podtytul")}));
        qint64 monthNet = 0;
        for (int d = 1; d <= days[m]; ++d) {
            // 2024 began on a Monday: leave out Saturdays and Sundays.
            const int dayOfYear = d - 1 + [&] {
                int s = 0;
                for (int i = 0; i < m; ++i)
                    s += days[i];
                return s;
            }();
            if (dayOfYear % 7 >= 5)
                continue;
            Record day;
            const QString date =
                QStringLiteral("%1-%2-2024").arg(d, 2, 10, QLatin1Char('0')).arg(m + 1, 2, 10, QLatin1Char('0'));
            qint64 dayNet = 0;
            const int count = 10 + random.Below(10);
            for (int i = 0; i < count; ++i) {
                const qint64 net = 1000 + random.Below(500000);
                const qint64 vat = (net * 23 + 50) / 100;
                dayNet += net;
                Record row;
                row.Title.Lines.push_back(
                    L({Text(x[0], w[0], date, "Tabela"),
                       Text(x[1], w[1],
                            QStringLiteral("FV/%1/%2")
                                .arg(m + 1, 2, 10, QLatin1Char('0'))
                                .arg(++number, 4, 10, QLatin1Char('0')),
                            "Tabela"),
                       Text(x[2], w[2], QString::fromUtf8(kCustomers[random.Below(12)]), "Tabela"),
                       Text(x[3], w[3], Money(net), "Tabela", 1), Text(x[4], w[4], Money(vat), "Tabela", 1),
                       Text(x[5], w[5], Money(net + vat), "Tabela", 1)}));
                day.Items.push_back(row);
            }
            day.Summary.Lines.push_back(L({Text(x[2], w[2], "Razem dzień " + date + ":", "Kolumny", 1),
                                           Text(x[3], w[3], Money(dayNet), "Kolumny", 1)}));
            monthNet += dayNet;
            month.Items.push_back(day);
        }
        month.Summary.Splittable = 0;
        month.Summary.Lines = {
            L({Rule(2, x[3], kRight - x[3])}),
            L({Text(x[2], w[2], "Razem " + QString::fromUtf8(months[m]).toLower() + ":", "Podtytul", 1),
               Text(x[3], w[3] + 100, Money(monthNet), "Kolumny", 1)})};
        yearNet += monthNet;
        root.Items.push_back(month);
    }
    root.Summary.Lines = {L({Rule(3)}), L({Text(x[2], w[2], "Razem półrocze (netto):", "Podtytul", 1),
                                           Text(x[3], w[3] + 900, Money(yearNet), "Podtytul", 1)})};
    return doc;
}

// Small printouts of every version for the reader's fuzzer to start from. Its first byte says
// whether the rest is a whole file (even) or a bare body (odd).
void WriteVersionSeeds(const QDir &dir)
{
    for (quint8 version = 0; version <= 7; ++version) {
        Document doc;
        doc.Version = version;
        doc.Resolution = 600;
        doc.LinesPerPage = 70;
        doc.Styles = {{.Name = "A", .Alias = "B"}, {.FontStyle = 3, .Name = "C"}};
        Record item;
        item.Label = "x";
        item.Title.Lines.push_back(L({{.X = 100, .Width = 900, .Kind = 1, .StyleName = "b", .Text = "tekst"},
                                      {.X = 5, .Width = 50, .Kind = 4, .RuleStyle = 1}}));
        item.Summary.Lines.push_back(
            L({{.Kind = 6, .Picture = EmfBuilder(0, 0, 100, 100, 4, 4).Rectangle(0, 0, 3, 3, 0xFF).Finish()}}));
        doc.Root.Items = {item, Record{}};
        doc.Root.ColumnHeader.Lines.push_back(L({{.Kind = 2, .Text = "%n"}}, true));
        const QByteArray body = BodyBytes(doc);
        const QString name = QStringLiteral("v%1").arg(version);
        WriteBytes(dir.filePath(name + "-body"), QByteArray(1, '\x01') + body);
        WriteBytes(dir.filePath(name + "-file"), QByteArray(1, '\x00') + FileFromBody(body, {.Level = 9}));
    }
    // A full line of 255 fields, which also lets the fuzzer's inputs grow that long.
    Document wide;
    Line line;
    for (int i = 0; i < 255; ++i)
        line.Fields.push_back({.X = i * 30,
                               .Width = 25,
                               .Kind = static_cast<quint8>(i % 8 == 6 ? 0 : i % 8),
                               .Text = QByteArray::number(i)});
    wide.Root.Summary.Lines = {line, line};
    WriteBytes(dir.filePath("wide-body"), QByteArray(1, '\x01') + BodyBytes(wide));
}

QByteArray Words(int length, Random &random)
{
    static const char *const words[] = {"faktura", "netto",   "brutto", "\xb3\xb9ka",    "magazyn", "z\xb3",
                                        "VAT",     "pozycja", "razem",  "\x9cwiat\xb3o", "a",       "123 456,78"};
    QByteArray text;
    while (text.size() < length)
        text += QByteArray(words[random.Below(12)]) + (random.Below(9) ? " " : "\r\n");
    text.truncate(length);
    return text;
}

QByteArray RichText(int paragraphs, Random &random)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}"
                     "{\\f1\\fmodern Courier New;}}{\\colortbl;\\red200\\green0\\blue0;}\n";
    static const char *const formats[] = {"\\b ",  "\\i ",    "\\ul ",     "\\cf1 ",
                                          "\\f1 ", "\\fs32 ", "\\strike ", "\\super "};
    for (int i = 0; i < paragraphs; ++i) {
        rtf += i % 3 ? "\\pard\\qj " : "\\pard\\qc\\li360\\sb120 ";
        rtf += "{" + QByteArray(formats[random.Below(8)]) + Words(20 + random.Below(200), random) + "}";
        rtf += Words(random.Below(100), random) + "\\par\n";
    }
    return rtf + "}";
}

// Printouts at the sizes where time and memory go wrong: deep nesting, many lines, long fields,
// many styles, a big picture in a repeated header and long rich text. The layout fuzzer takes a
// bare body; the reader's takes the body behind an odd byte.
std::vector<std::pair<QString, QByteArray>> LargeBodies()
{
    Random random(14);
    std::vector<std::pair<QString, QByteArray>> bodies;
    const Document plain;

    BodyWriter deep(7);
    deep.Globals(plain).Styles(plain).NestedRecords(10000);
    bodies.emplace_back("deep-10000", deep.Body());

    Document lines;
    lines.Root.Title.Lines.resize(60000);
    lines.Root.Summary.Lines.push_back(L({Text(kLeft, 2000, "koniec")}));
    bodies.emplace_back("lines-60000", BodyBytes(lines));

    Document longFields;
    longFields.Root.Title.Lines.push_back(L({{.X = kLeft, .Width = 4000, .Text = Words(65535, random)}}));
    longFields.Root.Title.Lines.push_back(
        L({{.X = kLeft, .Width = 0, .Text = QByteArray(10000, 'W')},
           {.X = 5000, .Width = 3000, .Kind = 1, .EndEllipsis = 1, .Text = Words(3000, random)}}));
    bodies.emplace_back("long-fields", BodyBytes(longFields));

    Document styles;
    Record styled;
    for (int i = 0; i < 4000; ++i) {
        const QByteArray name = "Styl" + QByteArray::number(i);
        styles.Styles.push_back({.CharHeight = 2.0f + i % 7,
                                 .FontStyle = static_cast<quint8>(i % 8),
                                 .FontName = i % 2 ? "Arial" : "Courier New",
                                 .Name = name,
                                 .Alias = "S" + QByteArray::number(i)});
        if (i % 4 == 0)
            styled.Title.Lines.push_back(
                L({{.X = kLeft, .Width = 3000, .StyleName = name, .Text = "x"},
                   {.X = 4000, .Width = 3000, .StyleName = "s" + QByteArray::number(i + 1), .Text = "y"}}));
    }
    styles.Root.Items.push_back(styled);
    bodies.emplace_back("styles-4000", BodyBytes(styles));

    Document header;
    header.Styles = CommonStyles();
    EmfBuilder banner(0, 0, 19000, 4000, 718, 150);
    for (int i = 0; i < 1500; ++i) {
        const int x = random.Below(700), y = random.Below(140);
        if (i % 2)
            banner.Rectangle(x, y, x + 1 + random.Below(60), y + 1 + random.Below(20),
                             static_cast<quint32>(random.Below(0xFFFFFF)));
        else
            banner.Ellipse(x, y, x + 1 + random.Below(60), y + 1 + random.Below(20),
                           static_cast<quint32>(random.Below(0xFFFFFF)));
    }
    header.Root.ColumnHeader.Lines.push_back(L({{.Kind = 6, .StyleName = "Normalny", .Picture = banner.Finish()}}));
    header.Root.ColumnHeader.Lines.push_back(PageLine());
    for (int i = 0; i < 600; ++i)
        header.Root.Items.push_back(InvoiceLine(i + 1, kProducts[i % 16], 1 + i % 9));
    bodies.emplace_back("header-picture", BodyBytes(header));

    Document rich;
    rich.Styles = CommonStyles();
    rich.Root.Title.Lines.push_back(
        L({{.X = kLeft, .Width = 4000, .Kind = 7, .StyleName = "Normalny", .Text = RichText(120, random)}}));
    QByteArray nested = "{\\rtf1 ";
    for (int i = 0; i < 3000; ++i)
        nested += i % 2 ? "{\\b " : "{\\i x";
    rich.Root.Summary.Lines.push_back(L({{.X = kLeft,
                                          .Width = 8000,
                                          .Kind = 7,
                                          .StyleName = "Normalny",
                                          .Text = nested + QByteArray(3000, '}') + "}"}}));
    bodies.emplace_back("rich-text", BodyBytes(rich));
    return bodies;
}

// Seeds for every fuzz target that takes a printout or a piece of one, under fuzz/seeds/<target>/.
void WriteSeeds(const QDir &seeds)
{
    const auto dir = [&seeds](const char *target) {
        seeds.mkpath(target);
        return QDir(seeds.filePath(target));
    };
    const QDir reader = dir("reader_fuzz"), layout = dir("layout_fuzz");
    WriteVersionSeeds(reader);
    WriteBytes(layout.filePath("faktura-vat"), BodyBytes(Invoice()));
    WriteBytes(layout.filePath("zestawienie-magazynowe"), BodyBytes(Listing()));
    for (const auto &[name, body] : LargeBodies()) {
        WriteBytes(layout.filePath(name), body);
        WriteBytes(reader.filePath(name + "-body"), QByteArray(1, '\x01') + body);
        WriteBytes(reader.filePath(name + "-file"), QByteArray(1, '\x00') + FileFromBody(body, {.Level = 9}));
    }

    Random random(1410);
    // The text fuzzer's eight bytes: flags (word break, edit control), width, face, character set.
    const QByteArray wrap("\x10\x20\x00\x00\x20\x00\x01\xee", 8);
    WriteBytes(dir("drawtext_fuzz").filePath("long-words"), wrap + Words(65535, random));
    const QByteArray narrow("\x10\x20\x00\x00\x01\x00\x02\xee", 8);
    WriteBytes(dir("drawtext_fuzz").filePath("long-word-narrow"), narrow + QByteArray(10000, 'W'));
    // The rich-text fuzzer's first byte is the width.
    WriteBytes(dir("rtf_fuzz").filePath("long.rtf"), "\x40" + RichText(250, random));

    EmfBuilder shapes(0, 0, 20000, 15000, 800, 600);
    for (int i = 0; i < 3000; ++i) {
        const int x = random.Below(800), y = random.Below(600);
        shapes.Ellipse(x, y, x + random.Below(200), y + random.Below(200),
                       static_cast<quint32>(random.Below(0xFFFFFF)));
    }
    WriteBytes(dir("emf_fuzz").filePath("many-shapes.emf"), shapes.Finish());
    WriteBytes(dir("pdf_export_fuzz").filePath("many-shapes.emf"), shapes.Finish());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_examples EXAMPLES_DIR [SEEDS_DIR]\n");
        return 2;
    }
    const QDir examples(QString::fromLocal8Bit(argv[1]));
    examples.mkpath(".");
    WriteWyd(examples.filePath("faktura-vat.wyd"), Invoice(), {.Level = 9});
    WriteWyd(examples.filePath("zestawienie-magazynowe.wyd"), Listing(), {.Magic = "WENOR2000", .Level = 9});
    WriteWyd(examples.filePath("raport-sprzedazy.wyd"), SalesReport(), {.Level = 9});
    if (argc > 2) {
        const QDir seeds(QString::fromLocal8Bit(argv[2]));
        seeds.mkpath(".");
        WriteSeeds(seeds);
    }
    return 0;
}
