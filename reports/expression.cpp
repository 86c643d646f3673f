#include "reports/expression.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

#include "reports/report_dataset.h"

namespace wf {

namespace {

QString unknownFunction(const QString& name) {
  return QStringLiteral("Unknown function : %1").arg(name);
}

class ConstantNode : public ExpressionNode {
 public:
  explicit ConstantNode(ExprValue value) : value_(std::move(value)) {}
  ExprValue evaluate() const override { return value_; }

 private:
  ExprValue value_;
};

class FieldNode : public ExpressionNode {
 public:
  explicit FieldNode(ReportField* field) : field_(field) {}

  ExprValue evaluate() const override {
    switch (field_->kind()) {
      case ReportFieldKind::String:
      case ReportFieldKind::Memo:
      case ReportFieldKind::Date:
      case ReportFieldKind::DateTime: return ExprValue::text(field_->asText());
      case ReportFieldKind::Integer:
      case ReportFieldKind::SmallInt:
      case ReportFieldKind::Word:
      case ReportFieldKind::AutoInc:
        return ExprValue::integer(static_cast<qint64>(field_->asNumber()));
      case ReportFieldKind::Float:
      case ReportFieldKind::Currency:
      case ReportFieldKind::Bcd: return ExprValue::real(field_->asNumber());
      case ReportFieldKind::Boolean: return ExprValue::boolean(field_->asNumber() != 0);
      case ReportFieldKind::Blob:
      case ReportFieldKind::Unknown: break;
    }
    return ExprValue::error(QStringLiteral("Field %1 is of unknown type").arg(field_->name()));
  }

 private:
  ReportField* field_;
};

class NamedValueNode : public ExpressionNode {
 public:
  NamedValueNode(const ReportNamedValues& values, QString name)
      : values_(values), name_(std::move(name)) {}
  ExprValue evaluate() const override { return values_.value(name_); }

 private:
  const ReportNamedValues& values_;
  QString name_;
};

// SUM(x): an accumulator that is unassigned after a reset and reads as the whole number 0 then.
class SumNode : public ExpressionNode {
 public:
  explicit SumNode(std::vector<std::unique_ptr<ExpressionNode>> arguments)
      : arguments_(std::move(arguments)) {}

  ExprValue evaluate() const override { return assigned_ ? sum_ : ExprValue::integer(0); }
  bool aggregates() const override { return true; }
  void reset() override {
    assigned_ = false;
    sum_ = ExprValue::integer(0);
  }

  void takeInRecord() override {
    if (arguments_.size() != 1) {
      assign(ExprValue::error(QStringLiteral("SUM needs exactly one argument")));
      return;
    }
    const ExprValue argument = arguments_.front()->evaluate();
    if (!assigned_) {
      assign(argument.isNumber()
                 ? argument
                 : ExprValue::error(QStringLiteral("SUM of a value that is not a number")));
      return;
    }
    if (sum_.kind() == ExprValue::Kind::Error) return;
    switch (argument.kind()) {
      case ExprValue::Kind::Integer:
        sum_ = sum_.kind() == ExprValue::Kind::Integer
                   ? ExprValue::integer(sum_.asInteger() + argument.asInteger())
                   : ExprValue::real(sum_.asReal() + argument.asReal());
        break;
      case ExprValue::Kind::Real: sum_ = ExprValue::real(sum_.asReal() + argument.asReal()); break;
      case ExprValue::Kind::Text:
        sum_ = ExprValue::error(QStringLiteral("SUM of a value that is not a number"));
        break;
      case ExprValue::Kind::Boolean:
      case ExprValue::Kind::Error: break;
    }
  }

 private:
  void assign(const ExprValue& value) {
    sum_ = value;
    assigned_ = true;
  }

  std::vector<std::unique_ptr<ExpressionNode>> arguments_;
  bool assigned_ = false;
  ExprValue sum_ = ExprValue::integer(0);
};

// Splits at commas that are outside quotes and parentheses.
QStringList splitArguments(const QString& text) {
  QStringList arguments;
  if (text.trimmed().isEmpty()) return arguments;
  int depth = 0;
  bool quoted = false;
  int start = 0;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('\'')) {
      quoted = !quoted;
    } else if (!quoted && c == QLatin1Char('(')) {
      ++depth;
    } else if (!quoted && c == QLatin1Char(')')) {
      --depth;
    } else if (!quoted && depth == 0 && c == QLatin1Char(',')) {
      arguments << text.mid(start, i - start);
      start = i + 1;
    }
  }
  arguments << text.mid(start);
  return arguments;
}

bool isQuotedText(const QString& text) {
  return text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\''));
}

std::unique_ptr<ExpressionNode> compileNumber(const QString& text) {
  bool ok = false;
  const qint64 whole = text.toLongLong(&ok);
  if (ok) return std::make_unique<ConstantNode>(ExprValue::integer(whole));
  const double real = text.toDouble(&ok);
  if (ok) return std::make_unique<ConstantNode>(ExprValue::real(real));
  return nullptr;
}

ReportField* findField(const QString& name, const ExpressionScope& scope) {
  const qsizetype dot = name.indexOf(QLatin1Char('.'));
  if (dot > 0) {
    const QString tableName = name.left(dot).trimmed();
    const QString fieldName = name.mid(dot + 1).trimmed();
    for (ReportDataSet* table : scope.tables)
      if (table->name().compare(tableName, Qt::CaseInsensitive) == 0)
        return table->findField(fieldName);
    return nullptr;
  }
  for (ReportDataSet* table : scope.tables)
    if (ReportField* field = table->findField(name)) return field;
  return nullptr;
}

std::unique_ptr<ExpressionNode> compileName(const QString& name, const ExpressionScope& scope) {
  if (ReportField* field = findField(name, scope)) return std::make_unique<FieldNode>(field);
  if (scope.namedValues != nullptr && scope.namedValues->contains(name))
    return std::make_unique<NamedValueNode>(*scope.namedValues, name);
  ExprValue appValue;
  if (applicationNamedValue(name, appValue)) return std::make_unique<ConstantNode>(appValue);
  return std::make_unique<ConstantNode>(ExprValue::error(unknownFunction(name)));
}

std::unique_ptr<ExpressionNode> compileFunction(const QString& name, const QString& argumentText,
                                                const ExpressionScope& scope) {
  if (name.compare(QLatin1String("SUM"), Qt::CaseInsensitive) != 0)
    return std::make_unique<ConstantNode>(ExprValue::error(unknownFunction(name)));
  std::vector<std::unique_ptr<ExpressionNode>> arguments;
  for (const QString& argument : splitArguments(argumentText))
    arguments.push_back(Expression::compileNode(argument, scope));
  return std::make_unique<SumNode>(std::move(arguments));
}

// The start of the program, taken when the reports library is loaded.
const QDateTime& applicationStart() {
  static const QDateTime start = QDateTime::currentDateTime();
  return start;
}
[[maybe_unused]] const QDateTime& startTaken = applicationStart();

}  // namespace

void ReportNamedValues::clear() { slots_.clear(); }

void ReportNamedValues::setExpression(const QString& name,
                                      std::unique_ptr<ExpressionNode> expression) {
  Slot& slot = slots_[name.toUpper()];
  slot.expression = std::move(expression);
}

void ReportNamedValues::setValue(const QString& name, const ExprValue& value) {
  Slot& slot = slots_[name.toUpper()];
  slot.expression.reset();
  slot.value = value;
}

bool ReportNamedValues::contains(const QString& name) const {
  return slots_.count(name.trimmed().toUpper()) != 0;
}

ExprValue ReportNamedValues::value(const QString& name) const {
  const auto it = slots_.find(name.trimmed().toUpper());
  if (it == slots_.end()) return ExprValue::error(unknownFunction(name));
  return it->second.expression ? it->second.expression->evaluate() : it->second.value;
}

bool applicationNamedValue(const QString& name, ExprValue& value) {
  const QLocale locale = QLocale::system();
  if (name.compare(QLatin1String("AppStartTime"), Qt::CaseInsensitive) == 0) {
    value = ExprValue::text(locale.toString(applicationStart().time(), QLocale::LongFormat));
    return true;
  }
  if (name.compare(QLatin1String("AppStartDate"), Qt::CaseInsensitive) == 0) {
    value = ExprValue::text(locale.toString(applicationStart().date(), QLocale::ShortFormat));
    return true;
  }
  if (name.compare(QLatin1String("AppName"), Qt::CaseInsensitive) == 0) {
    value = ExprValue::text(QCoreApplication::applicationName());
    return true;
  }
  return false;
}

std::unique_ptr<ExpressionNode> Expression::compileNode(const QString& source,
                                                        const ExpressionScope& scope) {
  const QString text = source.trimmed();
  if (isQuotedText(text)) {
    QString inner = text.mid(1, text.size() - 2);
    inner.replace(QStringLiteral("''"), QStringLiteral("'"));
    return std::make_unique<ConstantNode>(ExprValue::text(inner));
  }
  if (auto number = compileNumber(text)) return number;
  const qsizetype open = text.indexOf(QLatin1Char('('));
  if (open > 0 && text.endsWith(QLatin1Char(')'))) {
    const qsizetype close = text.lastIndexOf(QLatin1Char(')'));
    return compileFunction(text.left(open).trimmed(), text.mid(open + 1, close - open - 1), scope);
  }
  if (text.size() >= 2 && text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']')))
    return compileName(text.mid(1, text.size() - 2).trimmed(), scope);
  return compileName(text, scope);
}

Expression Expression::compile(const QString& text, const ExpressionScope& scope) {
  Expression expression;
  expression.root_ = compileNode(text, scope);
  expression.root_->reset();
  return expression;
}

ExprValue Expression::value() const { return root_ ? root_->evaluate() : ExprValue::integer(0); }

bool Expression::hasAggregate() const { return root_ && root_->aggregates(); }

void Expression::takeInRecord() {
  if (root_) root_->takeInRecord();
}

void Expression::reset() {
  if (root_) root_->reset();
}

}  // namespace wf
