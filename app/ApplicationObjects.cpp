#include "ApplicationObjects.h"

#include "DMarsipstaf.h"
#include "ReportRegistry.h"
#include "ReportWindow.h"
#include "TApplication.h"
#include "TForm1.h"
#include "TForm10.h"
#include "TForm11.h"
#include "TForm12.h"
#include "TForm14.h"
#include "TForm15.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm4.h"
#include "TForm5.h"
#include "TForm6.h"
#include "TForm7.h"
#include "TForm8.h"
#include "TForm9.h"

ApplicationObjects::ApplicationObjects(DataModuleFactory openDataModule) : openDataModule_(std::move(openDataModule))
{
}

ApplicationObjects::~ApplicationObjects()
{
    for (auto it = destroyers_.rbegin(); it != destroyers_.rend(); ++it)
        (*it)();
}

template <class T, class... Args>
void ApplicationObjects::make(T*& global, const char* name, Args&&... args)
{
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    global = object.release();
    destroyers_.push_back([&global] {
        delete global;
        global = nullptr;
    });
    created_.emplace_back(name);
}

void ApplicationObjects::makeDataModule()
{
    dataModule_ = openDataModule_();
    DMarsipstaf = dataModule_.get();
    destroyers_.push_back([this] {
        DMarsipstaf = nullptr;
        dataModule_.reset();
    });
    created_.emplace_back("DMarsipstaf");
    references_.publish("DMarsipstaf");
}

void ApplicationObjects::makeOtherReportWindows(TDMarsipstaf& module)
{
    for (const ReportRegistry::Entry& report : ReportRegistry::all()) {
        if (ReportWindow::named(QString::fromLatin1(report.name)))
            continue;
        auto* window = new ReportWindow(report, module);
        destroyers_.push_back([window] { delete window; });
        created_.emplace_back(report.name);
    }
}

void ApplicationObjects::create()
{
    make(Form12, "Form12");
    TApplication::instance()->SetMainForm(Form12);
    make(Form1, "Form1");
    make(Form2, "Form2", references_, [this]() -> TDMarsipstaf& { return *dataModule_; });
    makeDataModule();
    TDMarsipstaf& module = *dataModule_;
    make(Form3, "Form3", module);
    make(Form4, "Form4", module);
    make(Form5, "Form5", module);
    make(Form6, "Form6", module);
    make(Form7, "Form7", module);
    make(Form8, "Form8");
    make(Form9, "Form9", module);
    make(Form10, "Form10", module);
    make(Form11, "Form11", module);
    makeOtherReportWindows(module);
    make(Form14, "Form14");
    make(Form15, "Form15");
}
