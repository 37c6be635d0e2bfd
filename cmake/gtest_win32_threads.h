// Force-included into GoogleTest on mingw-w64's win32 thread model, whose C++
// library has no std::mutex or std::condition_variable. GoogleTest needs
// just enough of both for its internal Notification; Windows' slim
// reader/writer lock and condition variable provide it. The program itself
// never sees this file, and thus links no threading library.
#pragma once

#if defined(__MINGW32__) && defined(__cplusplus)
#include <bits/c++config.h>
#if !defined(_GLIBCXX_HAS_GTHREADS)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <mutex>

namespace std {

class mutex {
  public:
    mutex() = default;
    mutex(const mutex&) = delete;
    mutex& operator=(const mutex&) = delete;
    void lock() { AcquireSRWLockExclusive(&lock_); }
    bool try_lock() { return TryAcquireSRWLockExclusive(&lock_) != 0; }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }
    SRWLOCK* native_handle() { return &lock_; }

  private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

class condition_variable {
  public:
    condition_variable() = default;
    condition_variable(const condition_variable&) = delete;
    condition_variable& operator=(const condition_variable&) = delete;
    void notify_one() { WakeConditionVariable(&condition_); }
    void notify_all() { WakeAllConditionVariable(&condition_); }
    template <typename Predicate> void wait(unique_lock<mutex>& held, Predicate ready) {
        while (!ready()) {
            SleepConditionVariableSRW(&condition_, held.mutex()->native_handle(), INFINITE, 0);
        }
    }

  private:
    CONDITION_VARIABLE condition_ = CONDITION_VARIABLE_INIT;
};

} // namespace std

#endif
#endif
