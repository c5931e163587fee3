#include "app/search_log_writer.h"

#include "app/logs.h"

namespace twinex {

void SearchLogWriter::OnLog(const std::string& text, bool isError) {
  LogProtokoll(text, isError);
  next_.OnLog(text, isError);
}

void SearchLogWriter::OnGeneralLog(const std::string& text) {
  LogProtokollMain(text);
  next_.OnGeneralLog(text);
}

}  // namespace twinex
