#include "DataModuleStartup.h"

#include "TDMarsipstaf.h"

std::unique_ptr<TDMarsipstaf> openDataModule()
{
    auto module = std::make_unique<TDMarsipstaf>();
    module->Loaded();
    return module;
}
