#include "demo/run_printer.h"

#include "pages/modal_result.h"

namespace quillon::demo {
namespace {

std::string_view ResultName(int modalResult) {
  switch (modalResult) {
  case modal::kOk:
    return "OK";
  case modal::kCancel:
    return "Cancel";
  case modal::kAbort:
    return "Abort";
  case modal::kNotCreated:
    return "not created";
  default:
    return "unknown";
  }
}

} // namespace

void RunPrinter::page(int step, std::string_view title) {
  out_ << "page " << step << ": " << title << std::endl;
}

void RunPrinter::row(std::string_view label, std::string_view text) {
  out_ << "  row " << label << " " << text << std::endl;
}

void RunPrinter::status(std::string_view text) { out_ << "  status: " << text << std::endl; }

void RunPrinter::progress(int percent) { out_ << "  progress: " << percent << "%" << std::endl; }

void RunPrinter::notice(std::string_view caption, std::string_view text) {
  out_ << "notice: " << caption << ": " << text << std::endl;
}

void RunPrinter::golfer(std::string_view action) { out_ << "  golfer: " << action << std::endl; }

void RunPrinter::result(int modalResult) {
  out_ << "  result: " << ResultName(modalResult) << std::endl;
}

void RunPrinter::line(std::string_view text) { out_ << text << std::endl; }

} // namespace quillon::demo
