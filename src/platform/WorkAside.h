#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <future>

// Runs work that only reads (a file's fingerprint, say) on a thread of its
// own while the interface keeps drawing; input waits until it is done, so
// no command starts meanwhile. Small work runs right here.
template <typename Work>
auto WorkAside(Work work, bool small)
{
    if (small)
        return work();
    auto done = std::async(std::launch::async, std::move(work));
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return done.get();
}
