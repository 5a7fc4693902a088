#include "DataModuleStartup.h"

#include "StorageEngine.h"
#include "TDMarsipstaf.h"
#include "TPasswordDialog.h"

std::unique_ptr<TDMarsipstaf> openDataModule()
{
    // A database server that wants a password asks the clerk for it.
    StorageEngine::defaultSession().setPasswordPrompt(
        [](PasswordList& passwords) { return TPasswordDialog::execute(passwords); });
    auto module = std::make_unique<TDMarsipstaf>();
    module->Loaded();
    return module;
}
