#include "PurgeText.h"

namespace retrove {

std::string PurgeQuestion(int count, const std::string& onlyName, bool allRows, const std::string& folder) {
  std::string question;
  if (allRows)
    question = "Purge all " + std::to_string(count) + " deleted file(s) of '" + folder + "' for good?";
  else if (count == 1)
    question = "Purge " + onlyName + " for good?";
  else
    question = "Purge " + std::to_string(count) + " deleted files for good?";
  return question + "\r\n\r\nA purged file cannot be brought back.";
}

}  // namespace retrove
