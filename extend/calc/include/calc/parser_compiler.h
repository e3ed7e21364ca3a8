// The expression parser: defines constants and variables, compiles an
// expression into a program and evaluates it.
#pragma once

#include <string_view>

#include "calc/parser_exception.h"
#include "calc/parser_registrar.h"
#include "calc/program.h"

namespace tarn::calc {

// A fresh parser knows every built-in operator and function and allocates
// nothing until a constant or variable is defined or an expression compiled.
//
//   ParserCompiler parser;
//   parser.DefineConstant("pi", 3.14159265359);
//   parser.Compile("2*pi*r");          // throws ParserException<ParsingErrorData>
//   double area = parser.EvaluateProgram();
class ParserCompiler {
public:
    explicit ParserCompiler(const MathExpression::IMathVariableFactory& factory =
                                MathExpression::MemVariableFactory::Instance());

    // Both throw ParserException<DefinitionErrorData> on a conflicting name.
    void DefineConstant(std::string_view name, double value);
    // The variable is read from `address` each time the program is evaluated.
    void DefineVariable(std::string_view name, const double* address);

    // Replaces the program. On a bad expression throws
    // ParserException<ParsingErrorData> and leaves the empty program (value 0).
    void Compile(std::string_view text);
    double EvaluateProgram() { return program_.Evaluate(); }

    const Program& CompiledProgram() const { return program_; }
    ParserRegistrar& Registrar() { return registrar_; }
    const ParserRegistrar& Registrar() const { return registrar_; }

private:
    ParserRegistrar registrar_;
    Program program_;
};

}  // namespace tarn::calc
