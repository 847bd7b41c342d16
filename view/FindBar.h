#pragma once
// TFindBar: the preview's find bar, black like the hint bar, lying over the bottom of the view it is
// given: "Znajdź:", the text field, the count ("3 z 41"), the previous and next buttons and a close
// button. It only shows and reports; the owner does the finding.
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class THintBarButton;

class TFindBar : public QWidget {
    Q_OBJECT
public:
    // over: the view whose bottom the bar covers, across its client width.
    explicit TFindBar(QWidget *over, std::function<int()> clientWidth);

    QLineEdit *Field() const { return field_; }
    QString Text() const;
    // "current z count"; no matches with a text typed reads "Nie znaleziono".
    void ShowCount(int current, int count);
    QString CountText() const;
    // Shows the bar over its view's bottom with the field focused and its text selected.
    void Open();

Q_SIGNALS:
    void TextEdited(const QString &text);
    void NextClicked();
    void PreviousClicked();
    void CloseClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Place();

    std::function<int()> clientWidth_;
    QLabel *caption_;
    QLineEdit *field_;
    QLabel *count_;
    THintBarButton *previous_, *next_, *close_;
};
