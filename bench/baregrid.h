#pragma once
// The plainest widget that shows a page: cells of text in fixed boxes, painted with
// QPainter and nothing else. The floor for the day page's grid.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <QWidget>

namespace bench {

class BareGrid : public QWidget {
public:
    explicit BareGrid(int columns) : columns_(columns)
    {
        QFont f(QStringLiteral("Arial"), 8);
        f.setBold(true);
        setFont(f);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // The page's cell text: TAB between cells, CR between rows.
    void setPage(const QString& text)
    {
        cells_.clear();
        for (const QString& row : text.split(u'\r')) {
            const QStringList cells = row.split(u'\t');
            for (int c = 0; c < columns_; ++c)
                cells_.append(cells.value(c));
        }
    }
    QString page() const
    {
        QStringList rows;
        for (qsizetype i = 0; i < cells_.size(); i += columns_)
            rows << QStringList(cells_.mid(i, columns_)).join(u'\t');
        return rows.join(u'\r');
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::darkGray);
        const int h = fontMetrics().height() + 6;
        const int w = 96;
        for (qsizetype i = 0; i < cells_.size(); ++i) {
            const QRect box(int(i % columns_) * w, int(i / columns_) * h, w - 1, h - 1);
            if (box.top() > height())
                break;
            p.fillRect(box, QColor(255, 255, 238));
            p.drawText(box.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, cells_[i]);
        }
    }

private:
    int columns_;
    QStringList cells_;
};

}  // namespace bench
