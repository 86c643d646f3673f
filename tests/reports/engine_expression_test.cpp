// Expressions: name lookup, named values, errors, and the SUM aggregate.
#include <gtest/gtest.h>

#include "report_test_fixtures.h"
#include "reports/expression.h"
#include "store/format_settings.h"

namespace wf {
namespace {

using test::MemoryDataSet;

class ExpressionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lines.addField(QStringLiteral("ServiceLineTotal"), ReportFieldKind::Currency)
        .addField(QStringLiteral("ServiceLineQuantity"), ReportFieldKind::SmallInt)
        .addField(QStringLiteral("ServiceLineProduct"), ReportFieldKind::String)
        .addField(QStringLiteral("Photo"), ReportFieldKind::Blob)
        .addField(QStringLiteral("VehicleNumber"), ReportFieldKind::Integer);
    lines.addRow({10.50, 2, QStringLiteral("Oil"), QVariant(), 7})
        .addRow({2.25, 3, QStringLiteral("Filter"), QVariant(), 7});
    vehicles.addField(QStringLiteral("VehicleNumber"), ReportFieldKind::AutoInc)
        .addField(QStringLiteral("VehicleMake"), ReportFieldKind::String);
    vehicles.addRow({42, QStringLiteral("Volvo")});
    named.setExpression(QStringLiteral("PAGENUMBER"), Expression::compileNode("0", {}));
    named.setExpression(QStringLiteral("REPORTTITLE"), Expression::compileNode("'It''s'", {}));
    scope.tables = {&lines, &vehicles};
    scope.namedValues = &named;
  }

  // Compiles text and takes in every record of lines, as the detail band would.
  ExprValue aggregate(const QString& text) {
    Expression expression = Expression::compile(text, scope);
    for (lines.first(); !lines.eof(); lines.next()) expression.takeInRecord();
    return expression.value();
  }

  MemoryDataSet lines{QStringLiteral("tblServiceLine")};
  MemoryDataSet vehicles{QStringLiteral("tblVehicle")};
  ReportNamedValues named;
  ExpressionScope scope;
};

struct ValueCase {
  const char* expression;
  ExprValue expected;
};

TEST_F(ExpressionTest, ValuesOnTheCurrentRecord) {
  const ValueCase cases[] = {
      {"ServiceLineProduct", ExprValue::text("Oil")},
      {"  servicelineproduct ", ExprValue::text("Oil")},
      {"ServiceLineQuantity", ExprValue::integer(2)},
      {"ServiceLineTotal", ExprValue::real(10.5)},
      // A bare name takes the first table that has the field; table.field picks the table.
      {"VehicleNumber", ExprValue::integer(7)},
      {"tblVehicle.VehicleNumber", ExprValue::integer(42)},
      {"TBLVEHICLE . vehiclemake", ExprValue::text("Volvo")},
      {"[VehicleMake]", ExprValue::text("Volvo")},
      {"PageNumber", ExprValue::integer(0)},
      {"ReportTitle", ExprValue::text("It's")},
      {"12", ExprValue::integer(12)},
      {"Photo", ExprValue::error("Field Photo is of unknown type")},
      {"Bogus", ExprValue::error("Unknown function : Bogus")},
      {"tblNothing.VehicleMake", ExprValue::error("Unknown function : tblNothing.VehicleMake")},
      {"Upper(VehicleMake)", ExprValue::error("Unknown function : Upper")},
  };
  lines.first();
  for (const auto& c : cases)
    EXPECT_EQ(Expression::compile(c.expression, scope).value(), c.expected) << c.expression;
}

TEST_F(ExpressionTest, NamedValuesSetByTheEngineReplaceTheirExpression) {
  Expression page = Expression::compile("PAGENUMBER", scope);
  named.setValue(QStringLiteral("pagenumber"), ExprValue::integer(3));
  EXPECT_EQ(page.value(), ExprValue::integer(3));
}

TEST_F(ExpressionTest, ApplicationNamedValuesAreTexts) {
  EXPECT_EQ(Expression::compile("AppName", scope).value().kind(), ExprValue::Kind::Text);
  EXPECT_EQ(Expression::compile("appstartdate", scope).value().kind(), ExprValue::Kind::Text);
}

TEST_F(ExpressionTest, SumAddsEveryRecordTakenIn) {
  const ValueCase cases[] = {
      {"SUM(ServiceLineTotal)", ExprValue::real(12.75)},
      {"Sum( servicelinetotal )", ExprValue::real(12.75)},
      {"sum(ServiceLineQuantity)", ExprValue::integer(5)},
      {"SUM(ServiceLineProduct)", ExprValue::error("SUM of a value that is not a number")},
      {"SUM(ServiceLineTotal, ServiceLineQuantity)",
       ExprValue::error("SUM needs exactly one argument")},
      {"SUM()", ExprValue::error("SUM needs exactly one argument")},
  };
  for (const auto& c : cases) EXPECT_EQ(aggregate(c.expression), c.expected) << c.expression;
  EXPECT_EQ(aggregate("SUM(ServiceLineTotal)").toText(), QStringLiteral("12.75"));
}

TEST_F(ExpressionTest, SumBeforeAnyRecordAndAfterResetIsZero) {
  Expression sum = Expression::compile("SUM(ServiceLineTotal)", scope);
  EXPECT_TRUE(sum.hasAggregate());
  EXPECT_EQ(sum.value(), ExprValue::integer(0));
  lines.first();
  sum.takeInRecord();
  EXPECT_EQ(sum.value(), ExprValue::real(10.5));
  sum.reset();
  EXPECT_EQ(sum.value(), ExprValue::integer(0));
  EXPECT_FALSE(Expression::compile("ServiceLineTotal", scope).hasAggregate());
}

TEST_F(ExpressionTest, ATruthValueCannotStartASum) {
  lines.addField(QStringLiteral("Paid"), ReportFieldKind::Boolean);
  EXPECT_EQ(aggregate("SUM(Paid)").kind(), ExprValue::Kind::Error);
}

TEST(ExpressionValue, RealsPrintInTheGeneralFormatOfTheLocale) {
  EXPECT_EQ(ExprValue::real(12.75).toText(), QStringLiteral("12.75"));
  EXPECT_EQ(ExprValue::real(0.1 + 0.2).toText(), QStringLiteral("0.3"));
  FormatSettings& settings = formatSettings();
  const char saved = settings.decimalSeparator;
  settings.decimalSeparator = ',';
  EXPECT_EQ(ExprValue::real(1234.5).toText(), QStringLiteral("1234,5"));
  settings.decimalSeparator = saved;
}

TEST(ExpressionValue, PrintedForms) {
  EXPECT_EQ(ExprValue::integer(-4).toText(), QStringLiteral("-4"));
  EXPECT_EQ(ExprValue::boolean(true).toText(), QStringLiteral("True"));
  EXPECT_EQ(ExprValue::boolean(false).toText(), QStringLiteral("False"));
  EXPECT_EQ(ExprValue::error("Unknown function : X").toText(),
            QStringLiteral("Unknown function : X"));
}

}  // namespace
}  // namespace wf
