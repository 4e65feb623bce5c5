#pragma once
#include <utility>

// Gives a variable a value for one scope and puts the old value back when the
// scope ends, also when it ends by an exception. Not copyable: one restore.
template <typename T> class ScopedValue {
public:
    ScopedValue(T& variable, T value) : m_variable(variable), m_outer(std::exchange(variable, std::move(value))) {}
    ~ScopedValue() { m_variable = std::move(m_outer); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& m_variable;
    T m_outer;
};
