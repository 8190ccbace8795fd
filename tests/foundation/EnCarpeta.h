#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <unistd.h>

// A test with a folder of its own, made before each case and removed after,
// and the message an action fails with.
class TEnCarpeta : public ::testing::Test {
protected:
    explicit TEnCarpeta(const std::string& Nombre)
        : Dir(std::filesystem::temp_directory_path() /
              ("ventix_" + Nombre + "_" + std::to_string(getpid()))) {}
    void SetUp() override { std::filesystem::create_directories(Dir); }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    // What the action throws, or "" when it does not.
    static std::string Error(const std::function<void()>& F) {
        try {
            F();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    std::filesystem::path Dir;
};
