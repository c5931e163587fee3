#include "app/search_log_writer.h"

#include "app/error_record.h"
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

void SearchLogWriter::OnUnexpectedError(const std::string& where, const std::string& error) {
  LogErrorRecord(where, error);
  next_.OnUnexpectedError(where, error);
}

}  // namespace twinex
