#pragma once
// The load and save steps as the file menus call them. In the program they
// are the FileSteps of the main window; a test can put a recorder in their
// place to see which step runs, with which path, under which pointer.

#include <string>

#include "files/file_steps.h"

namespace qv {

class FileCommands {
 public:
  virtual ~FileCommands() = default;

  virtual LoadResult LoadMultFile(int part, const std::string& path) = 0;
  virtual LoadResult LoadMultAllFile(const std::string& path) = 0;
  virtual LoadResult LoadPerformanceFile(const std::string& path) = 0;
  virtual LoadResult LoadLayerPoolFile(const std::string& path) = 0;
  virtual LoadResult LoadSetupFile(const std::string& path) = 0;
  virtual LoadResult LoadWorkspaceFile(const std::string& path) = 0;

  virtual FileWriteResult SaveMultFile(int part, const std::string& path) = 0;
  virtual FileWriteResult SaveMultAllFile(const std::string& path) = 0;
  virtual FileWriteResult SavePerformanceFile(const std::string& path) = 0;
  virtual FileWriteResult SaveLayerPoolFile(const std::string& path) = 0;
  virtual FileWriteResult SaveSetupFile(const std::string& path) = 0;
  virtual FileWriteResult SaveWorkspaceFile(const std::string& path) = 0;
  virtual FileWriteResult SaveSetupSysExFile(const std::string& path) = 0;
  virtual FileWriteResult SaveSetupMidiFile(const std::string& path, int densitySliderValue) = 0;
  virtual FileWriteResult SaveWorkspaceText(const std::string& path) = 0;
  virtual FileWriteResult DumpSysExToText(const Bytes& input, const std::string& outPath) = 0;
};

// The program's steps.
class StepCommands : public FileCommands {
 public:
  explicit StepCommands(FileSteps& steps) : steps_(steps) {}

  LoadResult LoadMultFile(int part, const std::string& path) override { return steps_.LoadMultFile(part, path); }
  LoadResult LoadMultAllFile(const std::string& path) override { return steps_.LoadMultAllFile(path); }
  LoadResult LoadPerformanceFile(const std::string& path) override { return steps_.LoadPerformanceFile(path); }
  LoadResult LoadLayerPoolFile(const std::string& path) override { return steps_.LoadLayerPoolFile(path); }
  LoadResult LoadSetupFile(const std::string& path) override { return steps_.LoadSetupFile(path); }
  LoadResult LoadWorkspaceFile(const std::string& path) override { return steps_.LoadWorkspaceFile(path); }

  FileWriteResult SaveMultFile(int part, const std::string& path) override {
    return steps_.SaveMultFile(part, path);
  }
  FileWriteResult SaveMultAllFile(const std::string& path) override { return steps_.SaveMultAllFile(path); }
  FileWriteResult SavePerformanceFile(const std::string& path) override {
    return steps_.SavePerformanceFile(path);
  }
  FileWriteResult SaveLayerPoolFile(const std::string& path) override { return steps_.SaveLayerPoolFile(path); }
  FileWriteResult SaveSetupFile(const std::string& path) override { return steps_.SaveSetupFile(path); }
  FileWriteResult SaveWorkspaceFile(const std::string& path) override { return steps_.SaveWorkspaceFile(path); }
  FileWriteResult SaveSetupSysExFile(const std::string& path) override {
    return steps_.SaveSetupSysExFile(path);
  }
  FileWriteResult SaveSetupMidiFile(const std::string& path, int densitySliderValue) override {
    return steps_.SaveSetupMidiFile(path, densitySliderValue);
  }
  FileWriteResult SaveWorkspaceText(const std::string& path) override {
    return steps_.SaveWorkspaceText(path);
  }
  FileWriteResult DumpSysExToText(const Bytes& input, const std::string& outPath) override {
    return steps_.DumpSysExToText(input, outPath);
  }

 private:
  FileSteps& steps_;
};

}  // namespace qv
