#pragma once
#include "ReferenceBinder.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TDMarsipstaf.h"

// The long-lived objects of the program: the fifteen globals, created in
// their fixed order and destroyed in reverse order when this object goes.
class ApplicationObjects {
public:
    using DataModuleFactory = std::function<std::unique_ptr<TDMarsipstaf>()>;

    explicit ApplicationObjects(DataModuleFactory openDataModule);
    ~ApplicationObjects();
    ApplicationObjects(const ApplicationObjects&) = delete;
    ApplicationObjects& operator=(const ApplicationObjects&) = delete;

    // Creates Form12 (made the main window), Form1, Form2, DMarsipstaf,
    // Form3 ... Form11, the window of any other registered report, Form14,
    // Form15, all hidden. A failure to open the data
    // module propagates; what was created so far is destroyed with this
    // object.
    void create();

    // The globals' names in the order they were created.
    const std::vector<std::string>& creationOrder() const { return created_; }

private:
    template <class T, class... Args>
    void make(T*& global, const char* name, Args&&... args);
    void makeDataModule();
    // A plain report window for each registered report that has no window
    // class of its own, after Form11.
    void makeOtherReportWindows(TDMarsipstaf& module);

    DataModuleFactory openDataModule_;
    ReferenceBinder references_;
    std::unique_ptr<TDMarsipstaf> dataModule_;
    std::vector<std::function<void()>> destroyers_;
    std::vector<std::string> created_;
};
