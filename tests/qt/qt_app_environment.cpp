// The one QApplication of the window tests, created before the first test
// and kept to the end of the program (Qt allows only one per process).
#include <QApplication>

#include <gtest/gtest.h>

namespace {

class QtAppEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "zorone_qt_tests";
        static char* argv[] = { name, nullptr };
        // The tests never need a screen; run them headless however started.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = new QApplication(argc, argv);
    }

private:
    QApplication* m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

} // namespace
