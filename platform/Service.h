#pragma once

// A service of the operating system behind an interface T (class T : public Service<T>), which
// tests replace with an in-memory double. current() answers the implementation installed last,
// or the system's own while none is installed; setCurrent(nullptr) restores the system's own.
// Each service defines its system's own implementation beside its interface:
//     template <> T &Service<T>::systemDefault() { static SystemT system; return system; }
// and declares that specialization in its header, after the class.
template <typename T> class Service {
public:
    static T &current() { return s_installed ? *s_installed : systemDefault(); }
    static void setCurrent(T *service) { s_installed = service; }

protected:
    Service() = default;
    ~Service() = default;

private:
    static T &systemDefault();

    static inline T *s_installed = nullptr;
};
