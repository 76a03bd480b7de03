#pragma once

#include <QString>

#include <csignal>
#include <sys/resource.h>

namespace TestSupport {

// A disk that runs out, for this process while the object lives: no file may
// grow past limit bytes, and a write beyond fails with EFBIG (SIGXFSZ, which
// would end the process, is ignored meanwhile). Files that only are read are
// not touched; the database stays usable as long as nothing writes to it.
class FullDisk
{
public:
    explicit FullDisk(rlim_t limit)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_saved = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        rlimit lowered = m_old;
        lowered.rlim_cur = limit;
        m_active = m_saved && setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FullDisk()
    {
        if (m_saved)
            setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool isActive() const { return m_active; }

    // What the program reports for a write the limit stops.
    static QString reason() { return QStringLiteral("Plik jest za duży (File too large)"); }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_saved = false;
    bool m_active = false;
};

} // namespace TestSupport
