#include "FontConfigurationAhead.h"

#include <fontconfig/fontconfig.h>

FontConfigurationAhead::FontConfigurationAhead() : reading_(std::async(std::launch::async, [] { FcInit(); }))
{
}

FontConfigurationAhead::~FontConfigurationAhead()
{
    wait();
}

void FontConfigurationAhead::wait()
{
    if (reading_.valid())
        reading_.get();
}
