// GUI tests run on the offscreen platform inside the editor's application
// object, so that the keyboard rules and accelerators are in place.
#include <gtest/gtest.h>

#include "ui/application.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    EditorApplication app(argc, argv);
    LoadQtTranslations(app);
    return RUN_ALL_TESTS();
}
