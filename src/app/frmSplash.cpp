#include "app/frmSplash.h"

#include "app/screens.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, int pointSize, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignCenter);
    QFont f(QStringLiteral("Arial"), pointSize);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

// The logo: an open appointment book drawn in the program's colours.
QPixmap logoPicture()
{
    QPixmap pm(96, 72);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 90), 2));
    p.setBrush(QColor(255, 255, 238));
    p.drawRoundedRect(4, 6, 42, 60, 4, 4);
    p.drawRoundedRect(50, 6, 42, 60, 4, 4);
    p.setPen(QPen(QColor(58, 110, 165), 1));
    for (int y = 16; y < 62; y += 8) {
        p.drawLine(10, y, 40, y);
        p.drawLine(56, y, 86, y);
    }
    return pm;
}

}  // namespace

frmSplash::frmSplash()
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setKeyPreview(true);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* outer = new QVBoxLayout(this);
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setLineWidth(2);
    outer->addWidget(Frame1);

    auto* v = new QVBoxLayout(Frame1);
    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(logoPicture());
    imgLogo->setAlignment(Qt::AlignCenter);
    lblCompanyProduct = label(Frame1, "lblCompanyProduct", QStringLiteral("Norlyn SoftWare"), 12, true);
    lblProductName = label(Frame1, "lblProductName", tr("Presents"), 10);
    Label1 = label(Frame1, "Label1", QStringLiteral("Calvora"), 32, true);
    Label2 = label(Frame1, "Label2",
                   tr("for professional practices and small business offices"), 11);
    Label2->setWordWrap(true);
    Label2->setFixedWidth(260);
    Label2->setMinimumHeight(Label2->heightForWidth(260));
    lblVersion = label(Frame1, "lblVersion", tr("Version %1.%2").arg(CALVORA_VERSION_MAJOR).arg(CALVORA_VERSION_MINOR), 10);
    lblPlatform = label(Frame1, "lblPlatform", tr("Platform: Win95/98/NT"), 9);
    lblCompany = label(Frame1, "lblCompany", tr("Company: Norlyn Software"), 9);
    v->addWidget(imgLogo);
    v->addWidget(lblCompanyProduct);
    v->addWidget(lblProductName);
    v->addWidget(Label1);
    v->addWidget(Label2, 0, Qt::AlignHCenter);
    v->addSpacing(12);
    v->addWidget(lblVersion);
    v->addWidget(lblPlatform);
    v->addWidget(lblCompany);

    // A press anywhere on the splash, its frame or its labels dismisses it.
    Frame1->installEventFilter(this);
    for (QLabel* l : findChildren<QLabel*>())
        l->installEventFilter(this);

    setFixedSize(sizeHint().expandedTo(QSize(420, 360)));
    centreOnScreen();
    Form_Load();
}

void frmSplash::Form_Load()
{
    screens::load(Screen::Menu);
}

void frmSplash::handOver()
{
    if (isUnloading())
        return;
    screens::show(Screen::Menu);
    Unload();
}

void frmSplash::Form_KeyPress(int& keyAscii)
{
    if (keyAscii != 0)
        handOver();
}

void frmSplash::mousePressEvent(QMouseEvent*)
{
    handOver();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        handOver();
        return true;
    }
    return Form::eventFilter(watched, event);
}
