#include "view/FindBar.h"

#include "platform/text/TextMatch.h"
#include "ui/Glyphs.h"
#include "ui/HintBar.h"
#include "ui/WinFonts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPolygon>

namespace {

constexpr int kHeight = 24;

// A white triangle pointing up or down, 12 x 12, for the previous and next buttons.
QPixmap ArrowGlyph(bool up)
{
    QPixmap glyph(12, 12);
    glyph.fill(Qt::transparent);
    QPainter p(&glyph);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(up ? QPolygon({QPoint(1, 9), QPoint(11, 9), QPoint(6, 3)})
                     : QPolygon({QPoint(1, 3), QPoint(11, 3), QPoint(6, 9)}));
    return glyph;
}

} // namespace

TFindBar::TFindBar(QWidget *over, std::function<int()> clientWidth)
    : QWidget(over), clientWidth_(std::move(clientWidth))
{
    setFixedHeight(kHeight);
    setAutoFillBackground(false);
    const QFont font = WinFont(QStringLiteral("MS Sans Serif"), 12, true);
    caption_ = new QLabel(QStringLiteral("Znajdź:"), this);
    caption_->setFont(font);
    caption_->setStyleSheet(QStringLiteral("color: white"));
    field_ = new QLineEdit(this);
    field_->setMaxLength(int(platform::TTextMatcher::kMaxTyped));
    field_->setFixedWidth(220);
    field_->setFixedHeight(18);
    field_->setToolTip(QStringLiteral("Szukany tekst: wielkość liter nie ma znaczenia, a bez polskich liter "
                                      "znajdą się także słowa z nimi"));
    count_ = new QLabel(this);
    count_->setFont(font);
    count_->setMinimumWidth(90);
    previous_ = new THintBarButton(ArrowGlyph(true), this);
    previous_->setText(QStringLiteral("Poprzedni"));
    previous_->setToolTip(QStringLiteral("Shift+F3 - Poprzedni znaleziony tekst"));
    next_ = new THintBarButton(ArrowGlyph(false), this);
    next_->setText(QStringLiteral("Następny"));
    next_->setToolTip(QStringLiteral("F3 - Następny znaleziony tekst"));
    close_ = new THintBarButton(HintBarCancelGlyph(), this);
    close_->setToolTip(QStringLiteral("Esc - Zamknięcie wyszukiwania"));
    for (THintBarButton *button : {previous_, next_})
        button->SetTextColour(Qt::white);
    previous_->setFixedSize(88, kHeight - 4);
    next_->setFixedSize(84, kHeight - 4);
    close_->setFixedSize(22, kHeight - 4);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 4, 2);
    row->setSpacing(6);
    row->addWidget(caption_);
    row->addWidget(field_);
    row->addWidget(count_);
    row->addWidget(previous_);
    row->addWidget(next_);
    row->addStretch(1);
    row->addWidget(close_);

    connect(field_, &QLineEdit::textEdited, this, &TFindBar::TextEdited);
    connect(previous_, &QAbstractButton::clicked, this, &TFindBar::PreviousClicked);
    connect(next_, &QAbstractButton::clicked, this, &TFindBar::NextClicked);
    connect(close_, &QAbstractButton::clicked, this, &TFindBar::CloseClicked);
    over->installEventFilter(this);
    hide();
}

QString TFindBar::Text() const
{
    return field_->text();
}

void TFindBar::ShowCount(int current, int count)
{
    if (count > 0) {
        count_->setText(QStringLiteral("%1 z %2").arg(current + 1).arg(count));
        count_->setStyleSheet(QStringLiteral("color: yellow"));
    } else {
        count_->setText(field_->text().trimmed().isEmpty() ? QString() : QStringLiteral("Nie znaleziono"));
        count_->setStyleSheet(QStringLiteral("color: red"));
    }
    previous_->setEnabled(count > 1);
    next_->setEnabled(count > 1);
}

QString TFindBar::CountText() const
{
    return count_->text();
}

void TFindBar::Open()
{
    Place();
    show();
    raise();
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void TFindBar::Place()
{
    const QWidget *view = parentWidget();
    setGeometry(0, view->height() - kHeight, std::max(0, clientWidth_()), kHeight);
}

bool TFindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        Place();
    return QWidget::eventFilter(watched, event);
}

void TFindBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
}
