#pragma once
// A print target that keeps what it was given, so that a printout can be read back line by
// line with its font; it can be told to fail at a given line, as a printer fault would.
#include "printing/PrintTarget.h"

#include <QList>
#include <QString>
#include <optional>

class RecordingTarget final : public PrintTarget {
public:
    struct Line {
        QString text;
        int pointSize = 10;
        bool bold = false;
        int page = 1;
    };

    QList<Line> lines;
    int pages = 1;
    bool ended = false;
    bool aborted = false;

    // The line (counted from 0) at which printing fails with this description, or the end
    // of the document.
    std::optional<int> failAtLine;
    bool failAtEnd = false;
    QString failure = QStringLiteral("The printer is out of paper");

    void setFont(int pointSize, bool bold) override
    {
        pointSize_ = pointSize;
        bold_ = bold;
    }
    void printLine(const QString& text) override
    {
        if (failAtLine && lines.size() == *failAtLine)
            throw PrintError(failure);
        lines.append({text, pointSize_, bold_, pages});
    }
    void newPage() override { ++pages; }
    void endDoc() override
    {
        if (failAtEnd)
            throw PrintError(failure);
        ended = true;
    }
    void abort() override { aborted = true; }

    // The lines of one page, in order.
    QList<Line> page(int number) const
    {
        QList<Line> result;
        for (const Line& l : lines)
            if (l.page == number)
                result.append(l);
        return result;
    }

private:
    int pointSize_ = 10;
    bool bold_ = false;
};
