#include "WidgetTestMain.h"

// Fonts, painting and the preview window need the one application object.
int main(int argc, char** argv)
{
    return runWidgetTests(argc, argv);
}
