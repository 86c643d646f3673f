#include "reports/rep_expr.h"

namespace wf {

void TRepExpr::prepare(const ExpressionScope& scope) {
  compiled_ = wf::Expression::compile(Expression, scope);
  compiled_.reset();
}

QString TRepExpr::outputText() const { return compiled_.value().toText(); }

void TRepExpr::afterPrint() {
  if (ResetAfterPrint) compiled_.reset();
}

}  // namespace wf
