#pragma once
// A report panel over the real data module on temporary tables, printing
// into PDF files and answering its dialogs from the test. openPreview() runs
// a report command: the script runs inside the preview's message loop once
// the condition holds (by default: the run has finished), and the preview is
// closed afterwards if the script left it open.
#include "DataModuleFixture.h"
#include "PdfPrinterSystem.h"
#include "ReportDefinitions.h"
#include "ReportPanel.h"
#include "ScriptedDialogs.h"

#include <QCoreApplication>
#include <QTimer>
#include <functional>
#include <memory>

class PreviewFixture : public DataModuleFixture {
protected:
    using Script = std::function<void(TRepStandardPreview&)>;
    using Condition = std::function<bool(TRepStandardPreview&)>;

    void SetUp() override
    {
        DataModuleFixture::SetUp();
        printers = std::make_unique<PdfPrinterSystem>(QString::fromStdString(db_->root()));
    }

    void TearDown() override
    {
        panel.reset();
        printers.reset();
        DataModuleFixture::TearDown();
    }

    // n employees with NIPs in order and a religion to look up.
    void addEmployees(int n)
    {
        for (int i = 1; i <= n; ++i) {
            peg().Append();
            dm().TdatapegNIP->SetAsString("1970" + std::to_string(100000 + i));
            dm().TdatapegNama_Pegawai->SetAsString("Pegawai " + std::to_string(i));
            dm().TdatapegKd_Agama->SetAsString("01");
            peg().Post();
        }
    }

    ReportPanel& makePanel(std::unique_ptr<TBandReport> report)
    {
        panel = std::make_unique<ReportPanel>(std::move(report));
        panel->Printers = printers.get();
        panel->Dialogs = &dialogs;
        panel->SetupDialog = &setup;
        return *panel;
    }

    // The run is over and the report is available again.
    bool finished(TRepStandardPreview& preview)
    {
        return preview.destination() && preview.destination()->status() == TRepPrinter::Status::Finished &&
               panel->report().Available();
    }

    void openPreview(const Script& script, Condition when = {})
    {
        if (!when)
            when = [this](TRepStandardPreview& preview) { return finished(preview); };
        TRepStandardPreview* seen = nullptr;
        bool done = false;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (done || !seen || !when(*seen))
                return;
            done = true;
            poll.stop();
            // what the destination posted so far is handled first, as the
            // user's next action would find it
            QCoreApplication::processEvents();
            if (!seen->closed())
                script(*seen);
            if (!seen->closed())
                seen->close();
        });
        auto opened = QObject::connect(panel.get(), &ReportPanel::previewOpened, [&](TRepStandardPreview* p) {
            seen = p;
            poll.start();
        });
        panel->OpenPreview();
        QObject::disconnect(opened);
        EXPECT_TRUE(done) << "the preview script never ran";
    }

    // Handles messages until the condition holds; false when it never did.
    static bool processUntil(const std::function<bool()>& condition, int rounds = 100000)
    {
        for (int i = 0; i < rounds && !condition(); ++i)
            QCoreApplication::processEvents();
        return condition();
    }

    std::unique_ptr<PdfPrinterSystem> printers;
    ScriptedFileDialogs dialogs;
    ScriptedPrintSetup setup;
    std::unique_ptr<ReportPanel> panel;
};
