#include "storage/server/deadline.h"

#include <algorithm>
#include <atomic>
#include <libpq-fe.h>
#include <poll.h>
#include <sys/socket.h>
#include <utility>

namespace storage {

namespace {

std::atomic<long long> g_deadline{5000};

// After a cancel that is not heard, how long the socket is kept before it is cut.
constexpr std::chrono::milliseconds kGrace{300};
// How often the watcher looks whether the armed round trip is past its time.
constexpr std::chrono::milliseconds kTick{100};

}  // namespace

std::chrono::milliseconds serverDeadline()
{
    return std::chrono::milliseconds(g_deadline.load());
}

void setServerDeadline(std::chrono::milliseconds limit)
{
    g_deadline = limit.count();
}

Deadline::Deadline() : thread_([this] { watch(); }) {}

Deadline::~Deadline()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    forget();
}

void Deadline::arm(pg_conn* connection, std::chrono::milliseconds limit)
{
    std::lock_guard lock(mutex_);
    if (connection != connection_ || !cancel_) {
        if (cancel_)
            PQfreeCancel(cancel_);
        cancel_ = connection ? PQgetCancel(connection) : nullptr;
        socket_ = connection ? PQsocket(connection) : -1;
        connection_ = connection;
    }
    armed_ = cancel_ != nullptr;
    ++arming_;
    passed_ = false;
    due_ = std::chrono::steady_clock::now() + limit;
    wake_.notify_all();
}

bool Deadline::disarm()
{
    std::lock_guard lock(mutex_);
    armed_ = false;
    const bool passed = std::exchange(passed_, false);
    // A watcher waiting out its grace for this round trip need wait no longer.
    if (passed)
        wake_.notify_all();
    return passed;
}

void Deadline::forget()
{
    std::lock_guard lock(mutex_);
    armed_ = false;
    if (cancel_)
        PQfreeCancel(cancel_);
    cancel_ = nullptr;
    connection_ = nullptr;
    socket_ = -1;
}

void Deadline::watch()
{
    std::unique_lock lock(mutex_);
    while (!stop_) {
        // Woken at the armed round trip's time (arming wakes the watcher to learn it), or a
        // tick later when nothing is armed.
        const auto now = std::chrono::steady_clock::now();
        wake_.wait_until(lock, armed_ && !passed_ ? std::max(due_, now) : now + kTick);
        if (stop_ || !armed_ || passed_ || std::chrono::steady_clock::now() < due_)
            continue;
        // The server is asked to cancel the query: a statement waiting for a lock, or one
        // that runs long, ends with an error and the connection stays usable.
        // The request is used once: the next round trip makes a new one.
        passed_ = true;
        const unsigned long arming = arming_;
        PGcancel* cancel = std::exchange(cancel_, nullptr);
        connection_ = nullptr;
        const int socket = socket_;
        // The request goes from a thread of its own: a server whose computer is frozen takes
        // the request's connection and never answers it, and this watcher must still cut the
        // socket after the grace.
        if (cancel)
            std::thread([cancel] {
                char error[256];
                PQcancel(cancel, error, sizeof error);
                PQfreeCancel(cancel);
            }).detach();
        const auto same = [&] { return armed_ && !stop_ && arming_ == arming; };
        const auto cut = std::chrono::steady_clock::now() + kGrace;
        while (same() && wake_.wait_until(lock, cut) != std::cv_status::timeout) {
        }
        // Still no answer: the server process cannot act on the cancel (or cannot be
        // reached). The socket is shut, which ends the waiting read; the connection is lost
        // and opened again by the next unit of work.
        if (same() && socket >= 0)
            ::shutdown(socket, SHUT_RDWR);
    }
}

ServerProbe::ServerProbe(const QByteArray& conninfo, const QByteArray& password)
    : conninfo_(conninfo), password_(password), thread_([this] { run(); })
{
}

ServerProbe::~ServerProbe()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    if (connection_)
        PQfinish(connection_);
}

void ServerProbe::run()
{
    std::unique_lock lock(mutex_);
    while (!stop_) {
        // Every five seconds, or as often as the deadline where that is shorter.
        const auto period = std::clamp<std::chrono::milliseconds>(serverDeadline(), std::chrono::seconds(1),
                                                                  std::chrono::seconds(5));
        if (wake_.wait_for(lock, period, [this] { return stop_; }))
            break;
        lock.unlock();
        answers_ = ask();
        ++asked_;
        lock.lock();
    }
}

bool ServerProbe::ask()
{
    if (connection_ && PQstatus(connection_) != CONNECTION_OK) {
        PQfinish(connection_);
        connection_ = nullptr;
    }
    if (!connection_) {
        const QByteArray timeout = QByteArray::number(std::max<long long>(2, serverDeadline().count() / 1000));
        const char* keys[] = {"dbname", "connect_timeout", "application_name", password_.isEmpty() ? nullptr : "password",
                              nullptr};
        const char* values[] = {conninfo_.constData(), timeout.constData(), "calvora watchdog",
                                password_.constData(), nullptr};
        connection_ = PQconnectdbParams(keys, values, 1);
        if (PQstatus(connection_) != CONNECTION_OK) {
            // A server that asks for a password this probe does not know is there: the desk's
            // own connection asks the user for it.
            const bool asks = PQconnectionNeedsPassword(connection_);
            PQfinish(connection_);
            connection_ = nullptr;
            return asks;
        }
    }
    if (!PQsendQuery(connection_, "SELECT 1")) {
        // A connection that cannot take the question is given up: the next look makes a new
        // one, through the connection text's list of hosts again.
        PQfinish(connection_);
        connection_ = nullptr;
        return false;
    }
    const auto due = std::chrono::steady_clock::now() + serverDeadline();
    while (PQisBusy(connection_)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
        pollfd socket{PQsocket(connection_), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&socket, 1, int(left.count())) <= 0 || !PQconsumeInput(connection_)) {
            // No answer in time: this connection is given up; the next look makes a new one.
            PQfinish(connection_);
            connection_ = nullptr;
            return false;
        }
    }
    bool ok = true;
    while (PGresult* result = PQgetResult(connection_)) {
        ok = ok && PQresultStatus(result) == PGRES_TUPLES_OK;
        PQclear(result);
    }
    return ok;
}

}  // namespace storage
