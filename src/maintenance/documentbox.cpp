#include "maintenance/documentbox.h"

#include <QFont>
#include <QFontMetrics>
#include <QScrollBar>
#include <QPlainTextEdit>

QPlainTextEdit* makeDocumentBox(QWidget* parent, const QString& accessibleName)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QStringLiteral("Text1"));
    box->setAccessibleName(accessibleName);
    box->setReadOnly(true);
    // Keyboard users move and select in it too.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The texts line their tables up in blanks.
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    box->setFont(font);
    return box;
}

void sizeToText(QWidget* window, QPlainTextEdit* box)
{
    const int text = QFontMetrics(box->font()).horizontalAdvance(QString(92, u'x'));
    const int chrome = box->verticalScrollBar()->sizeHint().width() + 2 * box->frameWidth()
                       + int(2 * box->document()->documentMargin()) + 24;
    window->resize(text + chrome, 600);
}
