// A process-wide interface that the program installs at start-up and that falls back to a
// default without it (scripts run from a terminal, tests). Any thread may read it.
#pragma once

#include <atomic>

template <typename Interface> class Installed {
public:
    explicit Installed(Interface& fallback)
        : m_fallback(fallback)
    {
    }

    void Set(Interface* installed) { m_installed.store(installed); }
    Interface& Get() const
    {
        Interface* installed = m_installed.load();
        return installed ? *installed : m_fallback;
    }

private:
    Interface& m_fallback;
    std::atomic<Interface*> m_installed{nullptr};
};
