#include "DataModuleStartup.h"

std::shared_ptr<TDMarsipstaf> openDataModule()
{
    return nullptr;
}
