// Helpers shared by the tests: a scratch program folder and file bytes.
#ifndef VESKAROT_TEST_UTIL_H
#define VESKAROT_TEST_UTIL_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "../config/config.h"

std::string MakeTempDir();
void RemoveTree(const std::string &dir);
bool FileExists(const std::string &path);
std::string ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::string &bytes);
std::string RecordBytes(const ConfigData &config);
std::string DefaultRecordBytes();   // the default record with the magic stamped
std::vector<std::string> ListDir(const std::string &dir);

// Each test gets an empty folder that the store takes for the program's folder.
class ProgramDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string ConfigPath() const { return dir + "\\" CONFIG_FILE_NAME; }
    std::string dir;
};

#endif
