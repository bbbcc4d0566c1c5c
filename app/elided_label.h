#pragma once
// A one-line label that never widens its window: a text longer than its place
// is drawn shortened with "…" (at the end, or in the middle for a path) and
// shown whole in its tooltip.

#include <QLabel>

namespace corvexo {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(Qt::TextElideMode mode, QWidget *parent = nullptr);

    // The text as drawn in the width the label has now.
    QString shownText() const;
    bool isCut() const { return shownText() != text(); }
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::TextElideMode mode_;
};

} // namespace corvexo
