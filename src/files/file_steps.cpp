// STUB, to be replaced at merge by the real load and save steps: every load
// reports kLoaded and every save succeeds, and nothing is read, written,
// changed or sent. It exists only so that the windows build and run.
#include "files/file_steps.h"

namespace qv {

std::string WrongTypeText(FileKind kind) {
  static const char* const kExtensions[] = {".qvs", ".qvm", ".qvx", ".qvf", ".qvp", ".qvw"};
  return std::string("Sorry, You have chosen a file of the wrong type. Please choose a file with the extension ") +
         kExtensions[static_cast<int>(kind)];
}

const char* const kDamagedPoolText = "The Layer Pool in this file is damaged. Nothing was loaded.";

FileSteps::FileSteps(Session& session) : session_(session) {}

namespace {
FileWriteResult Written() { return FileWriteResult{true, {}}; }
}  // namespace

LoadResult FileSteps::LoadMultFile(int, const std::string&) { return LoadResult::kLoaded; }
LoadResult FileSteps::LoadMultAllFile(const std::string&) { return LoadResult::kLoaded; }
LoadResult FileSteps::LoadPerformanceFile(const std::string&) { return LoadResult::kLoaded; }
LoadResult FileSteps::LoadLayerPoolFile(const std::string&) { return LoadResult::kLoaded; }
LoadResult FileSteps::LoadSetupFile(const std::string&) { return LoadResult::kLoaded; }
LoadResult FileSteps::LoadWorkspaceFile(const std::string&) { return LoadResult::kLoaded; }

FileWriteResult FileSteps::SaveMultFile(int, const std::string&) { return Written(); }
FileWriteResult FileSteps::SaveMultAllFile(const std::string&) { return Written(); }
FileWriteResult FileSteps::SavePerformanceFile(const std::string&) { return Written(); }
FileWriteResult FileSteps::SaveLayerPoolFile(const std::string&) { return Written(); }
FileWriteResult FileSteps::SaveSetupFile(const std::string&) { return Written(); }
FileWriteResult FileSteps::SaveWorkspaceFile(const std::string&) { return Written(); }
FileWriteResult FileSteps::SaveSetupSysExFile(const std::string&) { return Written(); }
FileWriteResult FileSteps::SaveSetupMidiFile(const std::string&, int) { return Written(); }
FileWriteResult FileSteps::SaveWorkspaceText(const std::string&) { return Written(); }
FileWriteResult FileSteps::DumpSysExToText(const std::string&, const std::string&) { return Written(); }

void FileSteps::ApplyMultisRecord(const AllMultisRecord&, int) {}
void FileSteps::FillMultisRecord(AllMultisRecord&) const {}
void FileSteps::ApplyPerformanceRecord(const PerformanceRecord&) {}
bool FileSteps::LayerPoolRecordValid(const LayerPoolRecord&) { return true; }
void FileSteps::ApplyLayerPoolRecord(const LayerPoolRecord&) {}
void FileSteps::FillLayerPoolRecord() {}

}  // namespace qv
