#include "DataModuleStartup.h"

#include "MessageBoxes.h"
#include "StorageEngine.h"
#include "TDMarsipstaf.h"
#include "TPasswordDialog.h"

#include <QString>

std::shared_ptr<TableFilesAhead> openTablesAhead()
{
    try {
        return StorageEngine::defaultSession().openAhead(TDMarsipstaf::DatabaseAlias, TDMarsipstaf::OpeningOrder());
    } catch (...) {
        return nullptr;  // the engine that cannot start is told when the data module opens
    }
}

std::unique_ptr<TDMarsipstaf> openDataModule()
{
    StorageEngine& session = StorageEngine::defaultSession();
    // A database server that wants a password asks the clerk for it.
    session.setPasswordPrompt([](PasswordList& passwords) { return TPasswordDialog::execute(passwords); });
    // An upgrade of an older database on opening is told once it is done.
    std::string upgraded;
    session.setUpgradeNotice([&upgraded](const std::string& line) { upgraded += line + '\n'; });
    auto module = std::make_unique<TDMarsipstaf>();
    try {
        module->Loaded();
    } catch (...) {
        session.setUpgradeNotice(nullptr);
        throw;
    }
    session.setUpgradeNotice(nullptr);
    if (!upgraded.empty())
        ShowMessage(QString::fromStdString(upgraded).trimmed());
    return module;
}
