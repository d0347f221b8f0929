#include "db/sqlite/declared_type.h"

#include <cctype>
#include <charconv>
#include <string>

namespace orv::db::sqlite {

DeclaredType DeclaredType::Parse(std::string_view text) {
  DeclaredType result;
  const size_t paren = text.find('(');
  std::string base;
  for (char c : text.substr(0, paren)) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!base.empty() && base.back() != ' ') base += ' ';
    } else {
      base += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  while (!base.empty() && base.back() == ' ') base.pop_back();
  int32_t length = 0;
  bool max_length = false;
  if (paren != std::string_view::npos) {
    std::string_view args = text.substr(paren + 1);
    size_t i = 0;
    while (i < args.size() && std::isspace(static_cast<unsigned char>(args[i]))) ++i;
    if (args.substr(i, 3) == "max" || args.substr(i, 3) == "MAX" || args.substr(i, 3) == "Max") {
      max_length = true;
    } else {
      std::from_chars(args.data() + i, args.data() + args.size(), length);
    }
  }
  auto text_type = [&](DataType fixed_or_var) {
    if (max_length) {
      result.type = DataType::kLongVarChar;
    } else {
      result.type = fixed_or_var;
      result.size = length > 0 ? length : 1;  // CHAR without a length is CHAR(1)
    }
  };
  if (base == "INT" || base == "INTEGER" || base == "MEDIUMINT") {
    result.type = DataType::kInteger;
  } else if (base == "BIGINT") {
    result.type = DataType::kBigInt;
  } else if (base == "SMALLINT" || base == "TINYINT") {
    result.type = DataType::kSmallInt;
  } else if (base == "BIT" || base == "BOOLEAN") {
    result.type = DataType::kBoolean;
  } else if (base == "VARCHAR" || base == "CHARACTER VARYING" || base == "VARCHAR2") {
    text_type(DataType::kVarChar);
  } else if (base == "NVARCHAR" || base == "NATIONAL CHARACTER VARYING") {
    text_type(DataType::kVarWChar);
  } else if (base == "CHAR" || base == "CHARACTER") {
    text_type(DataType::kChar);
  } else if (base == "NCHAR" || base == "NATIONAL CHARACTER") {
    text_type(DataType::kWChar);
  } else if (base == "TEXT") {
    // Columns SQLite declares itself (a table made by SELECT ... INTO) are
    // TEXT: VARCHAR of a length it does not know.
    result.type = DataType::kVarChar;
  } else if (base == "NTEXT" || base == "CLOB") {
    result.type = DataType::kLongVarChar;
  } else if (base == "DECIMAL" || base == "NUMERIC" || base == "MONEY" || base == "SMALLMONEY") {
    result.type = DataType::kNumeric;
  } else if (base == "FLOAT" || base == "REAL" || base == "DOUBLE" || base == "DOUBLE PRECISION") {
    result.type = DataType::kDouble;
  } else if (base == "DATE" || base == "DATETIME" || base == "DATETIME2" ||
             base == "SMALLDATETIME") {
    result.type = DataType::kDate;
  } else if (base == "UNIQUEIDENTIFIER") {
    result.type = DataType::kVarChar;
    result.size = 38;
  }
  return result;
}

}  // namespace orv::db::sqlite
