#pragma once

#include <functional>
#include <utility>

// A page of the main window that is made when it is first needed. Making it is always the
// explicit call get(); made() tells whether it exists, and makes nothing.
template <typename T> class LazyPage {
public:
    using Make = std::function<T *()>;

    explicit LazyPage(Make make)
        : m_make(std::move(make))
    {
    }
    LazyPage(const LazyPage &) = delete;
    LazyPage &operator=(const LazyPage &) = delete;

    // The page, made first if it was not made yet.
    T *get() const
    {
        if (!m_page)
            m_page = m_make();
        return m_page;
    }

    // The page if it was made, else null.
    T *made() const { return m_page; }

private:
    Make m_make;
    mutable T *m_page = nullptr;
};
