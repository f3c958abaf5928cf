#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
double g_dpiOverride = 0;

double logicalDpi()
{
    if (g_dpiOverride > 0)
        return g_dpiOverride;
    if (auto* screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInchY();
    return 96.0;
}
}  // namespace

namespace twips {

int toPixels(int twips)
{
    return int(std::lround(twips * logicalDpi() / 1440.0));
}

int fromPixels(int pixels)
{
    return int(std::lround(pixels * 1440.0 / logicalDpi()));
}

void setDpiForTesting(double dpi)
{
    g_dpiOverride = dpi;
}

}  // namespace twips
