#include <gtest/gtest.h>

#include <stdexcept>

#include "interface/module_state.h"

using namespace quorle;

namespace {

int g_resourceLibrary; // stands for a loaded resource library

void ThrowInsideAScope() {
    ModuleStateScope scope;
    EXPECT_EQ(CurrentResourceModule(), nullptr);
    throw std::runtime_error("failure inside an export");
}

int ReturnEarlyInsideAScope(bool early) {
    ModuleStateScope scope;
    if (early) return 1;
    SetCurrentResourceModule(&g_resourceLibrary); // as the options editor does
    return 0;
}

} // namespace

TEST(ModuleState, ScopeMakesTheOwnModuleCurrentAndRestoresTheCallers) {
    void* hosts = &g_resourceLibrary;
    SetCurrentResourceModule(hosts);
    {
        ModuleStateScope outer;
        EXPECT_EQ(CurrentResourceModule(), nullptr);
        SetCurrentResourceModule(&g_resourceLibrary);
        {
            ModuleStateScope inner;
            EXPECT_EQ(CurrentResourceModule(), nullptr);
        }
        EXPECT_EQ(CurrentResourceModule(), &g_resourceLibrary);
    }
    EXPECT_EQ(CurrentResourceModule(), hosts);

    SetCurrentResourceModule(nullptr);
    EXPECT_THROW(ThrowInsideAScope(), std::runtime_error);
    EXPECT_EQ(CurrentResourceModule(), nullptr);
    // A resource library made current inside the call does not outlive it.
    EXPECT_EQ(ReturnEarlyInsideAScope(false), 0);
    EXPECT_EQ(CurrentResourceModule(), nullptr);
    EXPECT_EQ(ReturnEarlyInsideAScope(true), 1);
    EXPECT_EQ(CurrentResourceModule(), nullptr);
}
