#pragma once
#include <future>

// Reads the system's font configuration (its rules and the font
// directories' caches) on a thread of its own while the application object
// starts: the first window measures its labels' texts as it is built, and
// reading the configuration there took about as long as building it.
class FontConfigurationAhead {
public:
    FontConfigurationAhead();
    ~FontConfigurationAhead();
    FontConfigurationAhead(const FontConfigurationAhead&) = delete;
    FontConfigurationAhead& operator=(const FontConfigurationAhead&) = delete;

    // Waits until it is read; before the first text is measured, so that
    // the toolkit does not read it a second time beside this thread.
    void wait();

private:
    std::future<void> reading_;
};
