#!/usr/bin/python3
"""Checks statements meant for the host server (SQL Server).

Reads files of statements separated by lines that hold only "GO" (as written
by orvelka-statements and orvelka-db script) and checks each one:

  parse     it parses with sqlfluff's T-SQL grammar (an independent grammar:
            the embedded engine's translator is not involved);
  case      every table, column, function and procedure of the schema is
            written in the schema's case (a case-sensitive server collation
            would otherwise refuse it);
  length    no text literal compared with, assigned to or inserted into a
            CHAR(n)/VARCHAR(n) column is longer than n;
  quoting   every value for a text column is a quoted literal (the server
            would convert the column to a number and fail on the first code
            that is not one), and no non-numeric text goes to a number column;
  sqlite    nothing of the embedded engine's own dialect (LIMIT, ||,
            IFNULL, INSERT OR ..., double-quoted names, ...).

The schema (tables, column types, routines and their parameters) comes from
the installation script given with --schema. Exits 1 when any statement has
a fault, 0 otherwise; prints one line per fault and a summary line.

Run with Debian's python3 (/usr/bin/python3), which has the sqlfluff package.
"""

import argparse
import hashlib
import multiprocessing
import os
import re
import sys
import time

GO_LINE = re.compile(r"^[ \t]*GO[ \t]*$", re.IGNORECASE | re.MULTILINE)


def split_batches(text):
    """Batches between GO lines; batches of comments and blanks only are dropped."""
    out = []
    for batch in GO_LINE.split(text):
        without_comments = re.sub(r"--[^\n]*", "", batch)
        if without_comments.strip():
            out.append(batch.strip("\n") + "\n")
    return out


# --- tokens ---------------------------------------------------------------

TOKEN = re.compile(
    r"""
    (?P<space>\s+)
  | (?P<comment>--[^\n]*|/\*.*?\*/)
  | (?P<string>N?'(?:[^']|'')*')
  | (?P<bracket>\[(?:[^\]]|\]\])*\])
  | (?P<dquote>"(?:[^"]|"")*")
  | (?P<backtick>`[^`]*`)
  | (?P<number>\d+(?:\.\d*)?(?:[eE][+-]?\d+)?|\.\d+)
  | (?P<word>[@#]{0,2}[A-Za-z_][A-Za-z0-9_@#$]*)
  | (?P<symbol><>|!=|<=|>=|==|\|\||::|.)
    """,
    re.VERBOSE | re.DOTALL,
)


class Token:
    __slots__ = ("kind", "text")

    def __init__(self, kind, text):
        self.kind = kind
        self.text = text

    def name(self):
        """The identifier a word or bracketed token stands for, else None."""
        if self.kind == "word":
            return self.text
        if self.kind == "bracket":
            return self.text[1:-1].replace("]]", "]")
        return None

    def string_value(self):
        body = self.text[2:-1] if self.text.startswith("N") else self.text[1:-1]
        return body.replace("''", "'")

    def is_symbol(self, *symbols):
        return self.kind == "symbol" and self.text in symbols

    def is_word(self, *words):
        return self.kind == "word" and self.text.upper() in words


def tokenize(text):
    tokens = []
    for m in TOKEN.finditer(text):
        kind = m.lastgroup
        if kind in ("space", "comment"):
            continue
        tokens.append(Token(kind, m.group()))
    return tokens


# --- schema ---------------------------------------------------------------

TYPE = re.compile(r"^(\w+)\s*(?:\(\s*(\d+|MAX)\s*(?:,\s*\d+\s*)?\))?", re.IGNORECASE)
TEXT_TYPES = {"CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "TEXT", "NTEXT"}
NUMBER_TYPES = {"INT", "SMALLINT", "TINYINT", "BIGINT", "DECIMAL", "NUMERIC", "FLOAT",
                "REAL", "BIT", "MONEY"}


class ColumnType:
    def __init__(self, text):
        m = TYPE.match(text.strip())
        self.base = m.group(1).upper() if m else text.upper()
        self.length = int(m.group(2)) if m and m.group(2) and m.group(2).isdigit() else None

    def is_text(self):
        return self.base in TEXT_TYPES

    def is_number(self):
        return self.base in NUMBER_TYPES

    def __repr__(self):
        return self.base + ("(%d)" % self.length if self.length else "")


def split_top_level(text):
    parts, depth, current = [], 0, ""
    for ch in text:
        if ch == "(":
            depth += 1
        elif ch == ")":
            depth -= 1
        if ch == "," and depth == 0:
            parts.append(current)
            current = ""
        else:
            current += ch
    parts.append(current)
    return [p.strip() for p in parts if p.strip()]


class Schema:
    """Names in their schema case, and the types of columns and parameters."""

    def __init__(self):
        self.names = {}  # upper-case name -> name as the schema writes it
        self.columns = {}  # upper-case column name -> ColumnType
        self.ambiguous = set()  # column names declared with different types
        self.procedures = {}  # upper-case name -> {upper-case @param: ColumnType}

    def add_name(self, name):
        self.names.setdefault(name.upper(), name)

    def add_column(self, name, type_text):
        self.add_name(name)
        column_type = ColumnType(type_text)
        old = self.columns.get(name.upper())
        if old is not None and repr(old) != repr(column_type):
            self.ambiguous.add(name.upper())
        self.columns[name.upper()] = column_type

    def column(self, name):
        key = name.upper()
        if key in self.ambiguous:
            return None
        return self.columns.get(key)

    @staticmethod
    def read(text):
        schema = Schema()
        for batch in split_batches(text):
            body = re.sub(r"--[^\n]*", "", batch)
            m = re.match(r"\s*CREATE\s+TABLE\s+([\w.]+)\s*\((.*)\)\s*$", body,
                         re.IGNORECASE | re.DOTALL)
            if m:
                schema.add_name(m.group(1).split(".")[-1])
                for item in split_top_level(m.group(2)):
                    if item.upper().startswith("CONSTRAINT"):
                        continue
                    c = re.match(r"(\w+)\s+(.*)$", item, re.DOTALL)
                    if c:
                        schema.add_column(c.group(1), c.group(2))
                continue
            m = re.match(r"\s*CREATE\s+(?:UNIQUE\s+)?INDEX\s+(\w+)", body, re.IGNORECASE)
            if m:
                schema.add_name(m.group(1))
                continue
            m = re.match(r"\s*CREATE\s+(FUNCTION|PROCEDURE|PROC)\s+([\w.]+)\s*(.*?)\bAS\b",
                         body, re.IGNORECASE | re.DOTALL)
            if m:
                name = m.group(2).split(".")[-1]
                schema.add_name(name)
                params = {}
                for p in re.finditer(r"(@\w+)\s+(\w+(?:\s*\(\s*\w+\s*\))?)", m.group(3)):
                    params[p.group(1).upper()] = ColumnType(p.group(2))
                if m.group(1).upper() != "FUNCTION":
                    schema.procedures[name.upper()] = params
        return schema


# --- checks beyond the grammar --------------------------------------------

SQLITE_WORDS = {
    "LIMIT": "LIMIT (TOP or OFFSET ... FETCH on the server)",
    "AUTOINCREMENT": "AUTOINCREMENT (IDENTITY on the server)",
    "IFNULL": "IFNULL (ISNULL or COALESCE on the server)",
    "GLOB": "GLOB",
    "PRAGMA": "PRAGMA",
    "GROUP_CONCAT": "GROUP_CONCAT",
    "ROWID": "ROWID",
    "RETURNING": "RETURNING (OUTPUT on the server)",
    "STRFTIME": "strftime",
    "JULIANDAY": "julianday",
    "SUBSTR": "SUBSTR (SUBSTRING on the server)",
    "INSTR": "INSTR (CHARINDEX on the server)",
    "LENGTH": "LENGTH (LEN or DATALENGTH on the server)",
    "TYPEOF": "typeof",
    "LAST_INSERT_ROWID": "last_insert_rowid",
    "CHANGES": "changes()",
    "ATTACH": "ATTACH",
    "VACUUM": "VACUUM",
    "SQLITE_MASTER": "sqlite_master",
    "SQLITE_SCHEMA": "sqlite_schema",
    "TRUE": "TRUE (1 on the server)",
    "FALSE": "FALSE (0 on the server)",
}


def sqlite_only(tokens):
    faults = []
    for i, t in enumerate(tokens):
        if t.kind == "word" and t.text.upper() in SQLITE_WORDS:
            # LENGTH, SUBSTR and the like only as a function call.
            word = t.text.upper()
            if word in ("SUBSTR", "INSTR", "LENGTH", "TYPEOF", "STRFTIME", "JULIANDAY",
                        "IFNULL", "GROUP_CONCAT", "CHANGES", "LAST_INSERT_ROWID"):
                if i + 1 >= len(tokens) or not tokens[i + 1].is_symbol("("):
                    continue
            faults.append("SQLite-only syntax: " + SQLITE_WORDS[word])
        elif t.is_symbol("||"):
            faults.append("SQLite-only syntax: || (+ joins text on the server)")
        elif t.is_symbol("=="):
            faults.append("SQLite-only syntax: ==")
        elif t.kind in ("dquote", "backtick"):
            faults.append("SQLite-only syntax: %s-quoted name %s (brackets on the server)"
                          % ("double" if t.kind == "dquote" else "back", t.text))
        elif t.is_word("INSERT") and i + 1 < len(tokens) and tokens[i + 1].is_word("OR"):
            faults.append("SQLite-only syntax: INSERT OR ...")
        elif t.is_word("REPLACE") and i + 1 < len(tokens) and tokens[i + 1].is_word("INTO"):
            faults.append("SQLite-only syntax: REPLACE INTO")
        elif t.is_word("ON") and i + 1 < len(tokens) and tokens[i + 1].is_word("CONFLICT"):
            faults.append("SQLite-only syntax: ON CONFLICT")
    return faults


# Names the editor writes in another case than the schema's on purpose, each
# with where and why. They resolve under the case-insensitive collation the
# editor requires (docs/sql-server.md); a case-sensitive database would refuse
# them. Each is counted in the summary line, never passed silently.
CASE_EXCEPTIONS = {
}
case_exceptions_seen = {}


def identifier_case(tokens, schema):
    faults = []
    for t in tokens:
        name = t.name()
        if name is None or name.startswith("@") or name.startswith("#"):
            continue
        expected = schema.names.get(name.upper())
        if expected is not None and expected != name:
            if name in CASE_EXCEPTIONS:
                case_exceptions_seen[name] = case_exceptions_seen.get(name, 0) + 1
                continue
            faults.append("identifier %s is %s in the schema" % (name, expected))
    return sorted(set(faults))


def literal_at(tokens, i):
    """The literal starting at tokens[i]: (kind, value, width) or None.

    kind is "string", "number" or "null"; width is the count of tokens."""
    if i >= len(tokens):
        return None
    t = tokens[i]
    if t.kind == "string":
        return ("string", t.string_value(), 1)
    if t.kind == "number":
        return ("number", t.text, 1)
    if t.is_symbol("-", "+") and i + 1 < len(tokens) and tokens[i + 1].kind == "number":
        return ("number", t.text + tokens[i + 1].text, 2)
    if t.is_word("NULL"):
        return ("null", None, 1)
    return None


def column_before(tokens, i):
    """The column reference that ends at tokens[i] (a.b.c: c), or None."""
    if i < 0:
        return None
    name = tokens[i].name()
    if name is None or name.startswith("@") or name.startswith("#"):
        return None
    return name


def value_fault(column_type, literal, what):
    kind, value, _ = literal
    if kind == "null":
        return None
    if column_type.is_text():
        if kind != "string":
            return "unquoted value %s for text column %s" % (value, what)
        if column_type.length is not None and len(value) > column_type.length:
            return "literal '%s' (%d characters) is longer than %s %r" % (
                value if len(value) <= 40 else value[:37] + "...", len(value), what, column_type)
    elif column_type.is_number() and kind == "string":
        if not re.fullmatch(r"\s*[+-]?\d+(\.\d*)?\s*", value):
            return "text value '%s' for number column %s" % (value, what)
    return None


COMPARISON = ("=", "<>", "!=", "<", ">", "<=", ">=")


def literal_values(tokens, schema):
    faults = []

    def check(name, literal, context):
        column_type = schema.column(name)
        if column_type is None:
            return
        fault = value_fault(column_type, literal, context or name)
        if fault:
            faults.append(fault)

    n = len(tokens)
    for i, t in enumerate(tokens):
        # column <op> literal, literal <op> column (and SET column = literal)
        if t.is_symbol(*COMPARISON) or t.is_word("LIKE"):
            like = t.is_word("LIKE")
            left = column_before(tokens, i - 1)
            right = literal_at(tokens, i + 1)
            if left and right and not (i + 1 + right[2] < n and tokens[i + 1 + right[2]].is_symbol(
                    "+", "-", "*", "/", "%", "(")):
                if like:
                    if right[0] == "number":
                        check(left, right, None)
                else:
                    check(left, right, None)
            if i >= 1 and not like:
                lit = literal_at(tokens, i - 1)
                if lit and lit[2] == 1 and i + 1 < n:
                    name = column_before(tokens, i + 1)
                    if name and not (i + 2 < n and tokens[i + 2].is_symbol(".", "(")):
                        check(name, lit, None)
        # column IN (literal, ...)
        if t.is_word("IN") and i >= 1 and i + 1 < n and tokens[i + 1].is_symbol("("):
            name = column_before(tokens, i - 1)
            if name is None and i >= 2 and tokens[i - 1].is_word("NOT"):
                name = column_before(tokens, i - 2)
            j = i + 2
            while name and j < n:
                lit = literal_at(tokens, j)
                if lit is None:
                    break
                check(name, lit, None)
                j += lit[2]
                if j < n and tokens[j].is_symbol(","):
                    j += 1
                else:
                    break
        # INSERT INTO table (columns) VALUES (row), (row)
        if t.is_word("INSERT"):
            j = i + 1
            if j < n and tokens[j].is_word("INTO"):
                j += 1
            while j < n and (tokens[j].name() is not None or tokens[j].is_symbol(".")):
                j += 1
            if j >= n or not tokens[j].is_symbol("("):
                continue
            columns = []
            j += 1
            while j < n and not tokens[j].is_symbol(")"):
                if tokens[j].name() is not None:
                    columns.append(tokens[j].name())
                j += 1
            j += 1
            if j >= n or not tokens[j].is_word("VALUES"):
                continue
            j += 1
            while j < n and tokens[j].is_symbol("("):
                j += 1
                position = 0
                while j < n and not tokens[j].is_symbol(")"):
                    lit = literal_at(tokens, j)
                    if lit and j + lit[2] < n and tokens[j + lit[2]].is_symbol(",", ")"):
                        if position < len(columns):
                            check(columns[position], lit, None)
                        j += lit[2]
                    else:
                        depth = 0
                        while j < n and (depth > 0 or not tokens[j].is_symbol(",", ")")):
                            if tokens[j].is_symbol("("):
                                depth += 1
                            elif tokens[j].is_symbol(")"):
                                depth -= 1
                            j += 1
                    if j < n and tokens[j].is_symbol(","):
                        position += 1
                        j += 1
                j += 1
                if j < n and tokens[j].is_symbol(","):
                    j += 1
        # EXEC procedure @param = literal, ...
        if t.is_word("EXEC", "EXECUTE") and i + 1 < n and tokens[i + 1].name():
            params = schema.procedures.get(tokens[i + 1].name().split(".")[-1].upper())
            j = i + 2
            while params is not None and j + 2 < n:
                if tokens[j].kind == "word" and tokens[j].text.startswith("@") and \
                        tokens[j + 1].is_symbol("="):
                    lit = literal_at(tokens, j + 2)
                    column_type = params.get(tokens[j].text.upper())
                    if column_type is None:
                        faults.append("procedure %s has no parameter %s"
                                      % (tokens[i + 1].text, tokens[j].text))
                    elif lit:
                        fault = value_fault(column_type, lit, tokens[j].text)
                        if fault:
                            faults.append(fault)
                j += 1
    return faults


def static_faults(statement, schema):
    tokens = tokenize(statement)
    return sqlite_only(tokens) + identifier_case(tokens, schema) + literal_values(tokens, schema)


# --- the grammar ----------------------------------------------------------

_LINTER = None


def parse_one(statement):
    """(seconds, fault or None) of parsing one statement with sqlfluff."""
    global _LINTER
    if _LINTER is None:
        from sqlfluff.core import FluffConfig, Linter
        _LINTER = Linter(config=FluffConfig(overrides={"dialect": "tsql"}))
    start = time.monotonic()
    parsed = _LINTER.parse_string(statement)
    seconds = time.monotonic() - start
    problems = [v.desc() if hasattr(v, "desc") else str(v) for v in parsed.violations]
    if parsed.tree is None:
        problems.append("no parse tree")
    else:
        for segment in parsed.tree.recursive_crawl("unparsable"):
            problems.append("unparsable: " + segment.raw.strip().splitlines()[0][:80]
                            if segment.raw.strip() else "unparsable section")
    return seconds, ("; ".join(dict.fromkeys(problems)) if problems else None)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--schema", required=True,
                        help="the installation script (orvelka-db script --dialect tsql)")
    parser.add_argument("--jobs", type=int, default=multiprocessing.cpu_count())
    parser.add_argument("--cache", default=os.environ.get(
                            "ORV_STATEMENT_CACHE",
                            os.path.join(os.environ.get("XDG_CACHE_HOME") or
                                         os.path.expanduser("~/.cache"),
                                         "orvelka", "statement-check")),
                        help="folder remembering statements that parsed cleanly "
                             "('' for none)")
    parser.add_argument("--no-parse", action="store_true",
                        help="only the checks beyond the grammar")
    parser.add_argument("files", nargs="+", help="files of statements separated by GO lines")
    args = parser.parse_args()

    with open(args.schema, encoding="utf-8") as f:
        schema = Schema.read(f.read())
    if not schema.columns:
        print("check_statements: no table in " + args.schema)
        return 1
    statements = []
    for path in args.files:
        with open(path, encoding="utf-8") as f:
            for batch in split_batches(f.read()):
                if batch not in statements:
                    statements.append(batch)

    faults = {}
    for index, statement in enumerate(statements):
        for fault in static_faults(statement, schema):
            faults.setdefault(index, []).append(fault)

    start = time.monotonic()
    timings = []
    if not args.no_parse:
        import sqlfluff
        version = sqlfluff.__version__
        # A statement that parsed cleanly with this sqlfluff is remembered by
        # the hash of its text; only new texts (and every fault) are parsed.
        def cache_file(statement):
            digest = hashlib.sha256((version + "\0" + statement).encode("utf-8")).hexdigest()
            return os.path.join(args.cache, digest[:2], digest)
        todo = [k for k in range(len(statements))
                if not (args.cache and os.path.exists(cache_file(statements[k])))]
        cached = len(statements) - len(todo)
        # The longest first, so the pool's two ends finish together.
        order = sorted(todo, key=lambda k: -len(statements[k]))
        jobs = max(1, min(args.jobs, len(order)))
        if jobs > 1:
            with multiprocessing.Pool(jobs) as pool:
                results = pool.map(parse_one, [statements[k] for k in order], chunksize=1)
        else:
            results = [parse_one(statements[k]) for k in order]
        for k, (seconds, fault) in zip(order, results):
            timings.append((seconds, k))
            if fault:
                faults.setdefault(k, []).insert(0, "does not parse as T-SQL: " + fault)
            elif args.cache:
                path = cache_file(statements[k])
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "w", encoding="utf-8") as f:
                    f.write("parsed\n")
        if cached:
            print("check_statements: %d statements parsed cleanly in an earlier run (cache %s)"
                  % (cached, args.cache))
    elapsed = time.monotonic() - start

    for index in sorted(faults):
        head = " ".join(statements[index].split())
        head = head if len(head) <= 100 else head[:97] + "..."
        for fault in faults[index]:
            print("statement %d: %s\n    %s" % (index + 1, fault, head))
    if timings:
        timings.sort(reverse=True)
        total = sum(s for s, _ in timings)
        median = timings[len(timings) // 2][0]
        print("check_statements: sqlfluff %s parsed %d statements in %.1f s with %d "
              "processes (per statement: median %.2f s, mean %.2f s, the slowest %.1f s: "
              "statement %d)"
              % (version, len(timings), elapsed, jobs, median, total / len(timings),
                 timings[0][0], timings[0][1] + 1))
    for name, count in sorted(case_exceptions_seen.items()):
        print("check_statements: %s in another case than the schema's, allowed in %d "
              "statement(s): %s" % (name, count, CASE_EXCEPTIONS[name]))
    bad = len(faults)
    print("check_statements: %d statements, %d with faults" % (len(statements), bad))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
