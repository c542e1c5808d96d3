// Failures in words: the library's file exceptions turned into "FILE: cause" messages.
#include "Failure.h"

#include <cstring>

#include "morvit/platform.h"

namespace morvit::tool {

std::string DescribeFailure(const std::exception& failure) {
  const auto* file = dynamic_cast<const CFileException*>(&failure);
  if (file == nullptr) return failure.what();
  std::string text = file->m_strFileName.empty() ? "(unnamed file)" : file->m_strFileName;
  text += ": ";
  text += CFileException::GetCauseText(file->m_cause);
  if (file->m_cause == CFileException::endOfFile) text += " (the file is cut short or damaged)";
  if (file->m_lOsError != -1 && file->m_lOsError != 0) {
    text += " (";
    text += std::strerror(static_cast<int>(file->m_lOsError));
    text += ")";
  }
  return text;
}

}  // namespace morvit::tool
