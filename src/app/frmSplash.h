#pragma once
// The splash screen: shown at start, hands over to the menu on the first key or mouse press.
#include "app/form.h"

class QFrame;
class QLabel;

class frmSplash : public Form {
    Q_OBJECT
public:
    frmSplash();

    QFrame* Frame1;
    QLabel* Label1;
    QLabel* lblProductName;
    QLabel* lblCompanyProduct;
    QLabel* Label2;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblCompany;
    QLabel* imgLogo;

protected:
    void Form_KeyPress(int& keyAscii) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void handOver();
};
