#include "session.h"

#include <ostream>

#include "host.h"
#include "interpreter.h"
#include "parser.h"

namespace quorvel {

int RunScript(const std::string& name, const std::string& source, std::ostream& out, std::ostream& err,
              HostOptions options) {
  Program program;
  try {
    program = Parse(source);
  } catch (const SyntaxError& error) {
    err << name << ":" << error.line() << ": syntax error: " << error.what() << "\n";
    return kExitUsage;
  }
  bool clean = false;
  try {
    Host host(std::move(options));
    Interpreter interpreter(host, out);
    clean = interpreter.Run(program);
  } catch (const FormError& error) {  // the first control cannot take its form
    err << "quorvel: " << error.what() << "\n";
    return kExitUsage;
  } catch (const orvane::Error& error) {  // a control failed to start
    out << "Error " << error.number() << ": " << error.description() << "\n";
  }
  out.flush();
  return clean ? kExitClean : kExitRaised;
}

}  // namespace quorvel
