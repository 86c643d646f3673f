// Report expressions: compiled once per generation against the tables a report sees and its
// named values, evaluated on the current records. Names of functions and fields are matched
// without regard to case. The only function is the aggregate SUM.
#pragma once

#include <QList>
#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "reports/expression_value.h"

namespace wf {

class ReportDataSet;

class ExpressionNode {
 public:
  virtual ~ExpressionNode() = default;
  virtual ExprValue evaluate() const = 0;
  // Aggregates add the current record; other nodes pass the call to their arguments.
  virtual void takeInRecord() {}
  virtual void reset() {}
  virtual bool aggregates() const { return false; }
};

// The report's named values (PAGENUMBER, COLUMNNUMBER, REPORTTITLE, ...). Each holds either a
// compiled expression or a value put in by the engine. Lookup ignores case.
class ReportNamedValues {
 public:
  void clear();
  void setExpression(const QString& name, std::unique_ptr<ExpressionNode> expression);
  void setValue(const QString& name, const ExprValue& value);
  bool contains(const QString& name) const;
  ExprValue value(const QString& name) const;

 private:
  struct Slot {
    std::unique_ptr<ExpressionNode> expression;
    ExprValue value;
  };
  std::map<QString, Slot> slots_;
};

// What names in an expression can refer to. Tables are searched in order for bare field names.
struct ExpressionScope {
  QList<ReportDataSet*> tables;
  const ReportNamedValues* namedValues = nullptr;
};

// The application-wide named values AppStartTime, AppStartDate and AppName, each a text. Returns
// false, leaving value alone, for any other name.
bool applicationNamedValue(const QString& name, ExprValue& value);

class Expression {
 public:
  Expression() = default;
  // Never fails: a text that does not compile gives an expression whose value is the error.
  static Expression compile(const QString& text, const ExpressionScope& scope);
  static std::unique_ptr<ExpressionNode> compileNode(const QString& text,
                                                     const ExpressionScope& scope);

  ExprValue value() const;
  bool hasAggregate() const;
  void takeInRecord();
  void reset();

 private:
  std::unique_ptr<ExpressionNode> root_;
};

}  // namespace wf
