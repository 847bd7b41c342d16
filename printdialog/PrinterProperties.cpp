#include "printdialog/PrinterProperties.h"

#include "platform/printer/Printer.h"
#include "platform/printer/PrinterError.h"
#include "ui/Glyphs.h"
#include "ui/WinFonts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace platform;

namespace {

TPdfFileQuestion &PdfFileQuestion()
{
    static TPdfFileQuestion question;
    return question;
}

QString AskPdfFile(QWidget *parent, const QString &current)
{
    QFileDialog dialog(parent, QStringLiteral("Zapisz wydruk do pliku PDF"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("Pliki PDF (*.pdf)"), QStringLiteral("Wszystkie pliki (*)")});
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (!current.isEmpty())
        dialog.selectFile(current);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QPushButton *Button(const QString &caption, const QString &name, const QPixmap &glyph = {})
{
    auto *button = new QPushButton(caption);
    button->setObjectName(name);
    button->setCursor(Qt::PointingHandCursor);
    button->setMinimumSize(90, 25);
    if (!glyph.isNull()) {
        button->setIcon(QIcon(glyph));
        button->setIconSize(glyph.size());
    }
    return button;
}

// The options in combo boxes named after their keywords, the virtual printer's file in a line edit.
class TPrinterPropertiesDlg : public QDialog {
public:
    TPrinterPropertiesDlg(QWidget *parent, const TPrinterInfo &printer, const QList<TPrinterOption> &options, bool pdf)
        : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Właściwości drukarki"));
        setFont(WinFont(QStringLiteral("MS Sans Serif"), 13, true));
        auto *layout = new QVBoxLayout(this);
        layout->setSizeConstraint(QLayout::SetFixedSize);

        auto *name = new QLabel(
            printer.Driver.isEmpty() ? printer.Device : QStringLiteral("%1  (%2)").arg(printer.Device, printer.Driver));
        name->setObjectName(QStringLiteral("lblDrukarka"));
        name->setTextFormat(Qt::PlainText);
        name->setFont(WinFont(QStringLiteral("MS Sans Serif"), 16, true));
        QPalette navy = name->palette();
        navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
        name->setPalette(navy);
        layout->addWidget(name);

        auto *group = new QGroupBox(QStringLiteral(" Ustawienia drukarki "));
        auto *grid = new QGridLayout(group);
        grid->setHorizontalSpacing(12);
        if (pdf)
            AddFileRow(grid, printer.Port);
        for (const TPrinterOption &option : options)
            AddOptionRow(grid, option);
        if (options.isEmpty() && !pdf) {
            auto *none = new QLabel(QStringLiteral("Drukarka nie udostępnia żadnych ustawień."));
            none->setObjectName(QStringLiteral("lblBrakOpcji"));
            grid->addWidget(none, grid->rowCount(), 0, 1, 2);
        }
        layout->addWidget(group);

        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        ok_ = Button(QStringLiteral("Ok"), QStringLiteral("btnOk"), TickGlyph());
        ok_->setDefault(true);
        QPushButton *cancel = Button(QStringLiteral("Anuluj"), QStringLiteral("btnAnuluj"), CrossGlyph());
        connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        buttons->addWidget(ok_);
        buttons->addWidget(cancel);
        layout->addLayout(buttons);
        UpdateOk();
    }

    // settings with the chosen values written in.
    TDevMode Answer(TDevMode settings) const
    {
        for (const auto &[keyword, combo] : combos_)
            SetOptionValue(settings, keyword, combo->currentData().toString());
        return settings;
    }
    // The chosen file; a relative name is taken from the current folder now, not when printing.
    QString PdfFile() const
    {
        const QString text = file_ ? file_->text().trimmed() : QString();
        return text.isEmpty() ? text : QFileInfo(text).absoluteFilePath();
    }

private:
    void AddOptionRow(QGridLayout *grid, const TPrinterOption &option)
    {
        auto *combo = new QComboBox;
        combo->setObjectName(option.Keyword);
        combo->setCursor(Qt::PointingHandCursor);
        combo->setMinimumWidth(280);
        // A list of a dozen rows under the box: a queue may offer sixty paper sizes, which the style's
        // own popup would spread over the whole screen.
        combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        combo->setFont(font());
        combo->view()->setFont(font());
        combo->setMaxVisibleItems(12);
        for (const TPrinterChoice &choice : option.Choices) {
            combo->addItem(choice.Label, choice.Value);
            if (choice.Value == option.Value)
                combo->setCurrentIndex(combo->count() - 1);
        }
        auto *label = new QLabel(option.Label + QLatin1Char(':'));
        label->setBuddy(combo);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
        combos_.append({option.Keyword, combo});
    }

    void AddFileRow(QGridLayout *grid, const QString &current)
    {
        file_ = new QLineEdit(current);
        file_->setObjectName(QStringLiteral("edPlik"));
        file_->setMinimumWidth(280);
        QPushButton *choose = Button(QStringLiteral("Wybierz..."), QStringLiteral("btnWybierz"));
        connect(choose, &QPushButton::clicked, this, [this] {
            const TPdfFileQuestion &ask = PdfFileQuestion();
            const QString chosen = ask ? ask(this, file_->text()) : AskPdfFile(this, file_->text());
            if (!chosen.isEmpty())
                file_->setText(chosen);
        });
        connect(file_, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
        auto *label = new QLabel(QStringLiteral("Plik wyjściowy:"));
        label->setBuddy(file_);
        auto *row = new QHBoxLayout;
        row->addWidget(file_, 1);
        row->addWidget(choose);
        grid->addWidget(label, 0, 0);
        grid->addLayout(row, 0, 1);
    }

    // The virtual printer cannot print without a file to write.
    void UpdateOk()
    {
        if (ok_)
            ok_->setEnabled(!file_ || !file_->text().trimmed().isEmpty());
    }

    QList<std::pair<QString, QComboBox *>> combos_;
    QLineEdit *file_ = nullptr;
    QPushButton *ok_ = nullptr;
};

} // namespace

bool EditPrinterProperties(QWidget *parent, TPrinter &printer, bool &colour)
{
    TPrinterInfo current = printer.CurrentPrinter();
    // Re-selecting drops the device context only; settings written for the printer stay.
    printer.SetPrinterIndex(printer.PrinterIndex());
    const std::optional<TDevMode> settings = printer.Settings();
    if (!settings)
        throw EPrinter(QStringLiteral("Błąd przy pobieraniu ustawień drukarki !"));
    // The dialog works on a copy: a cancelled one leaves the printer's block as it was.
    TDevMode block = *settings;
    block.Fields |= DM_COLOR;
    if (colour)
        block.Color = DMCOLOR_COLOR;
    const bool pdf = printer.IsPdfPrinter();
    TPrinterPropertiesDlg dialog(parent, current, printer.Options(block), pdf);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const TDevMode answer = dialog.Answer(block);
    if ((answer.Fields & DM_COLOR) && answer.Color == DMCOLOR_MONOCHROME)
        colour = false;
    if (pdf)
        current.Port = dialog.PdfFile();
    printer.SetPrinter(current, answer);
    return true;
}

void SetPdfFileQuestion(TPdfFileQuestion question)
{
    PdfFileQuestion() = std::move(question);
}
