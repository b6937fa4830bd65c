#include <QCoreApplication>
#include <gtest/gtest.h>

// The pay rules need no display and no widgets: a core application is all they run in.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
