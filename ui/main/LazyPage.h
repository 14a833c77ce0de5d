#pragma once

#include <functional>
#include <utility>

// A page of the main window that is made when it is first needed: any use through this holder
// (a member, the pointer itself) makes it first. made() tells without making it.
template <typename T> class LazyPage {
public:
    using Make = std::function<T *()>;

    explicit LazyPage(Make make)
        : m_make(std::move(make))
    {
    }
    LazyPage(const LazyPage &) = delete;
    LazyPage &operator=(const LazyPage &) = delete;

    T *get() const
    {
        if (!m_page)
            m_page = m_make();
        return m_page;
    }
    T *operator->() const { return get(); }
    operator T *() const { return get(); }

    // The page if it was made, else null.
    T *made() const { return m_page; }

private:
    Make m_make;
    mutable T *m_page = nullptr;
};
