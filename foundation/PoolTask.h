// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <type_traits>
#include <utility>

// Runs a function on a thread pool and hands its result over through a
// future (watch it with a QFutureWatcher): QtConcurrent::run for code that
// links Qt Core alone. The function must be copyable.
namespace PoolTask {

template <typename Function>
auto run(QThreadPool* pool, Function function) -> QFuture<std::invoke_result_t<Function>> {
    using Result = std::invoke_result_t<Function>;
    // Shared with the task, which may outlive whoever watches the future.
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    pool->start([promise, function = std::move(function)]() mutable {
        promise->addResult(function());
        promise->finish();
    });
    return future;
}

} // namespace PoolTask
