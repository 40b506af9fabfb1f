#pragma once
// Runs a function when the scope ends, also when an exception leaves it:
//
//   const bool saved = flag;
//   flag = true;
//   TAtExit restore([&] { flag = saved; });

#include <utility>

template <class F>
class TAtExit
{
public:
    explicit TAtExit(F f) : FF(std::move(f)) {}
    ~TAtExit() { FF(); }
    TAtExit(const TAtExit &) = delete;
    TAtExit &operator=(const TAtExit &) = delete;

private:
    F FF;
};
