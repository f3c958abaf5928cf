#pragma once
// The real day page opened offscreen on the twenty-year data, for the benchmarks that time it.
#include "generator.h"
#include "page/frmAppt.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "program.h"

#include <QCoreApplication>
#include <QEvent>

namespace bench {

// Answers every message box with Ok and reports it, so a failure cannot hang a benchmark.
class SilentDialogs final : public dialogs::Provider {
public:
    dialogs::Answer message(QWidget*, const dialogs::Prompt& p) override
    {
        qWarning("message box: %s", qPrintable(p.text));
        return dialogs::Answer::Ok;
    }
    std::optional<QString> input(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

// The day page on the twenty-year file, or on the server `conninfo` names.
inline frmAppt* openDayPage(const QString& conninfo = QString())
{
    static SilentDialogs silent;
    dialogs::setProvider(&silent);
    program::setFolder(twentyYearDatabase().folder);
    program::setServer(conninfo);
    auto* form = static_cast<frmAppt*>(createDayPage());
    if (!form)
        return nullptr;
    form->show();
    QCoreApplication::processEvents();
    return form;
}

// Lets the events of a step, and the windows it let go, run out.
inline void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace bench
