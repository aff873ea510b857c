#pragma once
// A fresh program folder for each test, removed afterwards, with its files read and written
// byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/program_folder.h"

namespace movarek::testing {

class TemporaryProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "movarek-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    previousFolder_ = programFolder();
    setProgramFolder(folder);
  }

  void TearDown() override {
    setProgramFolder(previousFolder_);
    std::filesystem::remove_all(folder);
  }

  void writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(programFile(name), std::ios::binary) << bytes;
  }

  std::string readFile(const std::string& name) const {
    std::ifstream in(programFile(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::string folder;

 private:
  std::string previousFolder_;
};

}  // namespace movarek::testing
