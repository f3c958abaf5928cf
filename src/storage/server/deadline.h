#pragma once
// A bound on the wait for the server: armed around one round trip on a connection, a thread
// of its own asks the server to cancel the query when the time has passed, and cuts the
// connection's socket when even that is not heard (a server process that is suspended, or a
// network link that died without closing), so that the waiting read returns at once.
#include <QByteArray>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

struct pg_conn;
struct pg_cancel;

namespace storage {

class Deadline {
public:
    Deadline();
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

    // Starts the clock for one round trip on `connection` (null: nothing to bound). Cheap: the
    // cancel request is made once per connection, and the watcher is not woken for it.
    void arm(pg_conn* connection, std::chrono::milliseconds limit);
    // Stops it; true when the time had passed and the query was cancelled or cut off.
    bool disarm();
    // The connection is closed: what was kept to cancel its queries is never used for a
    // later connection (which may stand at the same address).
    void forget();

private:
    void watch();

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool armed_ = false;
    bool passed_ = false;
    pg_conn* connection_ = nullptr;  // the connection cancel_ and socket_ belong to
    pg_cancel* cancel_ = nullptr;
    int socket_ = -1;
    // Counts the armings, so that a cancel of one round trip never cuts the next one.
    unsigned long arming_ = 0;
    std::chrono::steady_clock::time_point due_;
    // Last, so that every member above is made before the thread reads it.
    std::thread thread_;
};

// Whether the server answers, asked every few seconds from a thread of its own over a
// connection of its own, so that a desk that waits for its server never waits on the screen's
// thread: the watchdog opens the desk's connection again only when the server answers.
class ServerProbe {
public:
    // `conninfo` as libpq takes it; `password` where one was typed (empty: libpq's own places).
    ServerProbe(const QByteArray& conninfo, const QByteArray& password);
    ~ServerProbe();
    ServerProbe(const ServerProbe&) = delete;
    ServerProbe& operator=(const ServerProbe&) = delete;

    bool answers() const { return answers_; }
    // How many times it has asked: an answer heard after a moment is an answer with a
    // count above the count at that moment.
    unsigned asked() const { return asked_; }

private:
    void run();
    bool ask();

    QByteArray conninfo_;
    QByteArray password_;
    pg_conn* connection_ = nullptr;
    std::atomic<bool> answers_{true};
    std::atomic<unsigned> asked_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

// The longest a desk waits for one answer of the server before it gives up (five seconds;
// tests make it shorter).
std::chrono::milliseconds serverDeadline();
void setServerDeadline(std::chrono::milliseconds limit);

}  // namespace storage
