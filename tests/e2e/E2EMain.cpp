// The end-to-end test programs' entry point: the shell links they read back need COM on the
// test thread.
#include <objbase.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
