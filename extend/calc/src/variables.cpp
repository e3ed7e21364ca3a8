// Memory-backed variables and their factory.
#include "calc/variables.h"

namespace tarn::calc::MathExpression {

MemVariableEvaluator::MemVariableEvaluator(std::string_view name, const double* address)
    : name_(name), address_(address) {}

std::unique_ptr<IMathVariable> MemVariableFactory::MakeVariable(std::string_view name,
                                                                const double* address) const {
    return std::make_unique<MemVariableEvaluator>(name, address);
}

const MemVariableFactory& MemVariableFactory::Instance() {
    static const MemVariableFactory factory;
    return factory;
}

}  // namespace tarn::calc::MathExpression
