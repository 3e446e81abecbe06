#!/usr/bin/env python3
"""Mutation run: how many small faults planted in src/ the test suite notices.

    scripts/mutants.py --seed 2026 --count 40 [--tree DIR] [--build DIR]
                       [--list FILE] [--replay FILE] [--dry-run]

Collects every candidate fault over src/**/*.cpp and *.h (a relational, arithmetic or logical
operator swapped, a `!` removed, an integer constant off by one, true/false flipped,
SUCCEEDED/FAILED swapped, a success return turned into a failure and back, a call statement
deleted), leaving out comments, string literals, preprocessor lines and lines that only
declare. `count` of them are picked with random.Random(seed) from the candidates in sorted
order, so the same tree and seed give the same faults.

Each fault is named by its file, the exact text of its line, which occurrence of that text
in the file it is, the column and the change: `--list FILE` saves the picked faults as JSON,
and `--replay FILE` runs a saved list against a later tree whose lines have moved (a fault
whose line no longer exists is reported as gone and not counted).

For each fault: plant it, `cmake --build` the build directory (a compile failure is
"invalid" and not counted), run the unit-test entries of ctest, and only when none of them
fails the rest of ctest. The file is always restored and touched so that ninja rebuilds it,
also on Ctrl-C; a run killed outright is mended by the next start from a backup kept in the
build directory. The tests run in a private Xvfb display and Wine server, started through
scripts/xsession.sh as scripts/test.sh does. Python 3 standard library only.
"""
import argparse
import json
import os
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

UNIT_TESTS = "^(host|scene|d3denv|display_settings|gfxutil|art)$"

# ---------------------------------------------------------------------------------------
# Reading C++: comments and literals masked out, then tokens with their positions
# ---------------------------------------------------------------------------------------

def mask_source(text):
    """The text with comments, string and character literals replaced by spaces
    (newlines kept), so that columns and line numbers stay those of the file."""
    out = list(text)
    i, n = 0, len(text)

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == 'R' and text.startswith('R"', i) and not (i and (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if not m:
                i += 1
                continue
            end = text.find(")" + m.group(1) + '"', i)
            j = n if end < 0 else end + len(m.group(1)) + 2
            blank(i + 1, j)
            i = j
        elif c in "\"'":
            if c == "'" and i and text[i - 1].isalnum():   # a digit separator: 1'000
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            blank(i + 1, j - 1)            # keep the quotes, blank what is inside
            i = j
        else:
            i += 1
    return "".join(out)


TOKEN = re.compile(r"""
    (?P<num>\.?\d(?:[eEpP][+-]|[\w.'])*)
  | (?P<id>[A-Za-z_]\w*)
  | (?P<op>>>=|<<=|->\*|\.\.\.|->|\+\+|--|<<|>>|<=|>=|==|!=|&&|\|\||\+=|-=|\*=|/=|%=|&=|\|=|\^=|::|[-+*/%<>=!&|^~?:;,.(){}\[\]#])
""", re.X)

INTEGER = re.compile(r"^(0[xX][0-9a-fA-F]+|0[bB][01]+|\d+)([uU]?[lL]{0,2}|[lL]{1,2}[uU]?)$")
KEYWORDS = {"return", "if", "while", "for", "switch", "case", "do", "else", "goto", "delete",
            "new", "throw", "sizeof", "static_assert", "co_return", "default", "break",
            "continue", "operator", "typedef", "using", "template", "typename", "const",
            "static", "constexpr", "inline", "virtual", "explicit", "friend", "struct",
            "class", "enum", "union", "namespace", "extern", "mutable", "volatile",
            "unsigned", "signed", "auto", "decltype", "alignas", "noexcept", "override",
            "static_cast", "reinterpret_cast", "const_cast", "dynamic_cast"}
TYPE_PREFIX = {"const", "static", "constexpr", "inline", "virtual", "explicit", "friend",
               "extern", "mutable", "volatile", "unsigned", "signed", "struct", "class",
               "enum", "union", "typename"}


class Token:
    __slots__ = ("kind", "text", "line", "col", "space_before", "space_after")

    def __init__(self, kind, text, line, col):
        self.kind, self.text, self.line, self.col = kind, text, line, col
        self.space_before = self.space_after = False


def tokenize(masked_lines, skip):
    """Tokens of every line not in `skip` (preprocessor lines), in file order."""
    tokens = []
    for number, line in enumerate(masked_lines):
        if number in skip:
            continue
        pos = 0
        while pos < len(line):
            if line[pos].isspace():
                pos += 1
                continue
            m = TOKEN.match(line, pos)
            if not m:
                pos += 1
                continue
            kind = m.lastgroup
            t = Token(kind, m.group(kind), number, pos)
            t.space_before = pos == 0 or line[pos - 1].isspace()
            t.space_after = m.end() >= len(line) or line[m.end()].isspace()
            tokens.append(t)
            pos = m.end()
    return tokens


def preprocessor_lines(masked_lines):
    skip, continued = set(), False
    for number, line in enumerate(masked_lines):
        if continued or line.lstrip().startswith("#"):
            skip.add(number)
            continued = line.rstrip().endswith("\\")
        else:
            continued = False
    return skip


def params_look_declared(inner):
    """True when a parenthesised list reads as parameter declarations (`int a, T* b`, `()`,
    `(void)`), not as arguments (`(surface, 0)`)."""
    inner = inner.strip()
    if inner in ("", "void"):
        return True
    for part in inner.split(","):
        part = part.split("=")[0]
        if len(re.findall(r"[A-Za-z_]\w*", part)) < 2:
            return False
    return True


DECL_PREFIX = re.compile(r"^(?:~?[A-Za-z_][\w:]*(?:<[\w:\s,*&<>]*>)?[\s*&]*)+")


def declares_only(code, header):
    """A line that only declares: a variable without initializer, a function prototype,
    a pure virtual or defaulted member, a type alias or a forward declaration."""
    s = code.strip()
    if not s.endswith(";"):
        return False
    s = re.sub(r"\)((?:\s*(?:const|override|final|noexcept))*)\s*=\s*(0|default|delete)\s*;$",
               r")\1;", s)
    first = re.match(r"[A-Za-z_]\w*", s)
    if not first:
        return False
    if first.group(0) in ("using", "typedef", "static_assert", "friend"):
        return True
    if first.group(0) in KEYWORDS - TYPE_PREFIX:
        return False
    if "=" in s.replace("==", "").replace("!=", "").replace("<=", "").replace(">=", ""):
        return False
    if "(" not in s:
        # Type name; Type name[N]; Type* a, *b;
        return len(re.findall(r"[A-Za-z_]\w*", s)) >= 2 and re.fullmatch(r"[\w:\s*&<>,\[\]]+;", s) is not None
    m = DECL_PREFIX.match(s)
    if not m:
        return False
    before = s[:m.end()]
    if len(re.findall(r"[A-Za-z_]\w*", before)) < 2 and "operator" not in before:
        return False
    rest = s[m.end():]
    m2 = re.fullmatch(r"\((.*)\)\s*((?:const|override|final|noexcept)\s*)*;", rest)
    if not m2:
        return False
    return header or params_look_declared(m2.group(1))


def template_closers(tokens):
    """Indexes of `<` and `>` tokens that bracket template arguments, not comparisons."""
    found = set()
    allowed = {"::", ",", "*", "&", "<", ">", ">>"}
    for i, t in enumerate(tokens):
        if t.text != "<" or i == 0:
            continue
        prev = tokens[i - 1]
        if prev.kind != "id" or prev.text in ("return", "case"):
            continue
        depth, j = 1, i + 1
        inner = []
        while j < len(tokens) and j - i < 40:
            u = tokens[j]
            if u.text == "<":
                depth += 1
            elif u.text == ">":
                depth -= 1
            elif u.text == ">>":
                depth -= 2
            elif u.kind == "op" and u.text not in allowed:
                break
            inner.append(j)
            if depth <= 0:
                found.add(i)
                found.update(k for k in inner if tokens[k].text in ("<", ">", ">>"))
                break
            j += 1
    return found


OPERAND_END = {"num", "id"}


def binary_position(tokens, i):
    """True when the operator at i sits between two operands (not unary, not a declarator)."""
    if i == 0 or i + 1 >= len(tokens):
        return False
    prev = tokens[i - 1]
    if prev.kind == "id" and prev.text in KEYWORDS:
        return False
    return prev.kind in OPERAND_END or prev.text in (")", "]")

# ---------------------------------------------------------------------------------------
# Candidate faults
# ---------------------------------------------------------------------------------------

SWAPS = {
    "relational": {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="},
    "arithmetic": {"+": "-", "-": "+", "*": "/", "/": "*",
                   "+=": "-=", "-=": "+=", "*=": "/=", "/=": "*="},
    "logical": {"&&": "||", "||": "&&"},
    "boolean": {"true": "false", "false": "true", "TRUE": "FALSE", "FALSE": "TRUE"},
    "result": {"SUCCEEDED": "FAILED", "FAILED": "SUCCEEDED"},
}
FAILURE_CODE = re.compile(r"^(E_|SAVER_E_|D3DERR_)\w+$")
CALL_STATEMENT = re.compile(
    r"(?:::)?[A-Za-z_]\w*(?:\s*(?:::|\.|->)\s*[A-Za-z_]\w*)*\s*\(.*\)\s*;")
CONTINUES = (",", "(", "=", "+", "-", "*", "/", "&&", "||", "?", "<<", ">>", "&", "|")


def one_call(statement):
    """True when the statement's first parenthesis closes just before its `;`: a single call,
    not a declaration of a function pointer such as `BOOL (WINAPI* f)(int);`."""
    depth = 0
    for k, ch in enumerate(statement):
        if ch == "(":
            depth += 1
        elif ch == ")":
            depth -= 1
            if depth == 0:
                return statement[k + 1:].strip() == ";"
    return False


def off_by_one(literal):
    m = INTEGER.match(literal)
    body, suffix = m.group(1), m.group(2)
    if body[:2] in ("0x", "0X"):
        value = int(body, 16)
    elif body[:2] in ("0b", "0B"):
        value = int(body[2:], 2)
    elif len(body) > 1 and body.startswith("0"):
        value = int(body, 8)
    else:
        value = int(body)
    new = 1 if value == 0 else 0 if value == 1 else value + 1
    if body[:2] in ("0x", "0X"):
        digits = format(new, "X" if any(ch.isupper() for ch in body[2:]) else "x")
        text = body[:2] + digits.zfill(len(body) - 2)
    elif body[:2] in ("0b", "0B"):
        text = body[:2] + format(new, "b")
    elif len(body) > 1 and body.startswith("0"):
        text = "0" + format(new, "o")
    else:
        text = str(new)
    return text + suffix


def file_candidates(tree, path):
    rel = path.relative_to(tree).as_posix()
    text = path.read_text(encoding="utf-8", errors="surrogateescape")
    lines = text.split("\n")
    masked = mask_source(text).split("\n")
    skip = preprocessor_lines(masked)
    header = path.suffix == ".h"
    previous_code = ""
    for number, code in enumerate(masked):
        if number in skip or not code.strip():
            continue
        # Only a line that starts a statement can be a declaration.
        starts = previous_code == "" or previous_code.endswith((";", "{", "}", ":"))
        previous_code = code.strip()
        if starts and declares_only(code, header):
            skip.add(number)
    tokens = tokenize(masked, skip)
    templates = template_closers(tokens)
    found = []

    def add(kind, number, col, original, replacement):
        found.append((rel, number, col, kind, original, replacement))

    for i, t in enumerate(tokens):
        x = t.text
        if t.kind == "op":
            if x in SWAPS["relational"] and i not in templates:
                if x in ("<", ">") and tokens[i - 1].text == "operator":
                    continue
                add("relational", t.line, t.col, x, SWAPS["relational"][x])
            elif x in ("+", "-", "+=", "-=", "/", "/="):
                if binary_position(tokens, i):
                    add("arithmetic", t.line, t.col, x, SWAPS["arithmetic"][x])
            elif x in ("*", "*="):
                # Pointer declarators are written `T* p`; a product has space on both sides.
                if binary_position(tokens, i) and t.space_before and t.space_after:
                    add("arithmetic", t.line, t.col, x, SWAPS["arithmetic"][x])
            elif x in SWAPS["logical"]:
                if t.space_before and t.space_after:
                    add("logical", t.line, t.col, x, SWAPS["logical"][x])
            elif x == "!":
                add("negation", t.line, t.col, "!", "")
        elif t.kind == "num" and INTEGER.match(x):
            add("constant", t.line, t.col, x, off_by_one(x))
        elif t.kind == "id":
            if x in SWAPS["boolean"]:
                add("boolean", t.line, t.col, x, SWAPS["boolean"][x])
            elif x in SWAPS["result"] and i + 1 < len(tokens) and tokens[i + 1].text == "(":
                add("result", t.line, t.col, x, SWAPS["result"][x])
            elif x == "return" and i + 2 < len(tokens) and tokens[i + 2].text == ";":
                value = tokens[i + 1]
                if value.text == "S_OK":
                    add("return", value.line, value.col, "S_OK", "E_FAIL")
                elif value.kind == "id" and FAILURE_CODE.match(value.text):
                    add("return", value.line, value.col, value.text, "S_OK")

    # A line such as `Saver();` inside a class declares its constructor.
    types = set(re.findall(r"\b(?:class|struct)\s+([A-Za-z_]\w*)", "\n".join(masked)))
    previous_code = ""
    for number, code in enumerate(masked):
        if number in skip:
            continue
        s = code.strip()
        if s and CALL_STATEMENT.fullmatch(s) and one_call(s):
            first = re.match(r"(?:::)?([A-Za-z_]\w*)", s).group(1)
            if (first not in KEYWORDS and first not in types
                    and not previous_code.endswith(CONTINUES)):
                col = len(code) - len(code.lstrip())
                end = len(code.rstrip())
                add("delete-call", number, col, lines[number][col:end], ";")
        if s:
            previous_code = s
    return lines, found


def collect(tree):
    out = []
    sources = sorted(p for p in (tree / "src").rglob("*") if p.suffix in (".cpp", ".h"))
    for path in sources:
        lines, found = file_candidates(tree, path)
        for rel, number, col, kind, original, replacement in found:
            text = lines[number]
            occurrence = sum(1 for k in range(number) if lines[k] == text)
            out.append({"file": rel, "line": number + 1, "col": col, "kind": kind,
                        "original": original, "replacement": replacement,
                        "text": text, "occurrence": occurrence})
    out.sort(key=lambda m: (m["file"], m["line"], m["col"], m["kind"], m["replacement"]))
    return out


def choose(candidates, seed, count):
    picked = random.Random(seed).sample(candidates, min(count, len(candidates)))
    for number, m in enumerate(picked, 1):
        m["id"] = number
    return picked

# ---------------------------------------------------------------------------------------
# Planting a fault and taking it out again
# ---------------------------------------------------------------------------------------

def locate(tree, m):
    """The line index where the fault goes in this tree, or None when its line is gone.
    The exact line text first; a line that only changed indentation is still found."""
    path = tree / m["file"]
    if not path.is_file():
        return None, None
    lines = path.read_text(encoding="utf-8", errors="surrogateescape").split("\n")
    exact = [k for k, line in enumerate(lines) if line.rstrip("\r") == m["text"]]
    if m["occurrence"] < len(exact):
        k = exact[m["occurrence"]]
        return k, m["col"]
    stripped = m["text"].strip()
    moved = [k for k, line in enumerate(lines) if line.strip() == stripped]
    if m["occurrence"] < len(moved):
        k = moved[m["occurrence"]]
        shift = (len(lines[k]) - len(lines[k].lstrip())) - (len(m["text"]) - len(m["text"].lstrip()))
        return k, m["col"] + shift
    return None, None


class Planter:
    """Plants one fault at a time; the original text is kept in a backup file in the build
    directory until it is back, so that even a killed run is mended by the next start."""

    def __init__(self, tree, build):
        self.tree, self.backup = tree, build / "mutants-restore.json"
        self.current = None

    def recover(self):
        if self.backup.is_file():
            saved = json.loads(self.backup.read_text())
            Path(saved["path"]).write_bytes(saved["content"].encode("utf-8", "surrogateescape"))
            touch(Path(saved["path"]))
            self.backup.unlink()
            print(f"restored {saved['path']} from an interrupted run", flush=True)

    def plant(self, m):
        index, col = locate(self.tree, m)
        if index is None:
            return None
        path = self.tree / m["file"]
        original = path.read_bytes().decode("utf-8", "surrogateescape")
        lines = original.split("\n")
        line = lines[index]
        if line[col:col + len(m["original"])] != m["original"]:
            return None
        self.backup.write_text(json.dumps({"path": str(path), "content": original}))
        self.current = (path, original)
        lines[index] = line[:col] + m["replacement"] + line[col + len(m["original"]):]
        path.write_bytes("\n".join(lines).encode("utf-8", "surrogateescape"))
        touch(path)
        return index + 1

    def restore(self):
        if self.current:
            path, original = self.current
            path.write_bytes(original.encode("utf-8", "surrogateescape"))
            touch(path)
            self.current = None
        if self.backup.is_file():
            self.backup.unlink()


def touch(path):
    now = time.time()
    os.utime(path, (now, now))

# ---------------------------------------------------------------------------------------
# Building and testing
# ---------------------------------------------------------------------------------------

children = []


def run(command, env, timeout=None, cwd=None, leave_running=False):
    """Runs a command in its own process group, and stops whatever it left running there
    unless told to leave it (the X/Wine session); returns (exit code or None on timeout,
    output)."""
    process = subprocess.Popen(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               start_new_session=True, text=True, errors="replace")
    children.append(process)
    try:
        output, _ = process.communicate(timeout=timeout)
        return process.returncode, output
    except subprocess.TimeoutExpired:
        stop_group(process)
        output, _ = process.communicate()
        return None, output
    finally:
        if not leave_running or process.returncode is None:
            stop_group(process)
        children.remove(process)


def stop_group(process):
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass


RESULT_LINE = re.compile(r"Test\s+#\d+:\s+(\S+)\s+\.+.*?(Passed|\*\*\*Failed|\*\*\*Timeout|"
                         r"\*\*\*Exception|Not Run|\*\*\*Not Run|Exception|Failed)\s*(?:.*?([\d.]+) sec)?")


def ctest(build, env, select, timeout):
    """Runs part of ctest; returns ("passed" | "failed" | "timeout" | "error", failing test
    names, per-test seconds)."""
    command = ["ctest", "--test-dir", str(build), "--stop-on-failure",
               "--timeout", str(int(timeout))] + select
    # The backstop covers tests whose own TIMEOUT property outlasts --timeout.
    code, output = run(command, env, timeout=timeout * 12 + 600)
    failed, timed_out, seconds = [], [], {}
    for name, verdict, sec in RESULT_LINE.findall(output):
        if sec:
            seconds[name] = float(sec)
        if "Timeout" in verdict:
            timed_out.append(name)
        elif verdict != "Passed":
            failed.append(name)
    if code is None:
        return "timeout", timed_out or ["(whole run)"], seconds, output
    if failed:
        return "failed", failed, seconds, output
    if timed_out:
        return "timeout", timed_out, seconds, output
    if code != 0:
        return "error", [], seconds, output
    return "passed", [], seconds, output


def start_session(tree, env):
    """A private Xvfb display and Wine server, through the project's own xsession.sh."""
    script = ('. "$CIRRANE_ROOT/scripts/xsession.sh"; start_xvfb; start_wineserver; '
              'echo "session $DISPLAY $xvfb_pid"')
    code, output = run(["bash", "-c", script], env, timeout=300, leave_running=True)
    m = re.search(r"^session (\S+) (\d+)$", output or "", re.M)
    if code != 0 or not m:
        sys.exit("mutants: could not start the X/Wine session:\n" + (output or ""))
    env["DISPLAY"] = m.group(1)
    return m.group(2)


def stop_session(env, xvfb_pid):
    script = '. "$CIRRANE_ROOT/scripts/xsession.sh"; xvfb_pid=$1; stop_session'
    subprocess.run(["bash", "-c", script, "stop", xvfb_pid], env=env,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def test_environment(tree, build):
    env = dict(os.environ)
    env.update(WINEPREFIX=str(build / "wineprefix"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=", CIRRANE_ROOT=str(tree),
               CIRRANE_BUILD_DIR=str(build))
    env.setdefault("CCACHE_BASEDIR", str(tree.parent))
    return env

# ---------------------------------------------------------------------------------------
# The run
# ---------------------------------------------------------------------------------------

def describe(m):
    if m["kind"] == "delete-call":
        return f"delete `{m['original']}`"
    if m["kind"] == "negation":
        return "remove `!`"
    return f"`{m['original']}` -> `{m['replacement']}`"


def where(m):
    return f"{m['file']}:{m['line']}"


def minutes(seconds):
    return f"{int(seconds // 60)}m{int(seconds % 60):02d}s"


def evaluate(m, planter, build, env, unit_timeout, rest_timeout, exclude=""):
    line = planter.plant(m)
    if line is None:
        return "gone", ""
    m["line"] = line
    try:
        code, output = run(["cmake", "--build", str(build)], env, timeout=3600)
        if code is None:
            return "invalid", "build timed out"
        if code != 0:
            error = re.search(r"error: (.*)", output)
            return "invalid", error.group(1)[:80] if error else "build failed"
        state, names, _, _ = ctest(build, env, ["-R", UNIT_TESTS], unit_timeout)
        if state == "failed":
            return "killed-unit", ",".join(names)
        if state in ("timeout", "error"):
            return state, ",".join(names)
        state, names, _, _ = ctest(build, env, ["-E", UNIT_TESTS + (f"|{exclude}" if exclude else "")], rest_timeout)
        if state == "failed":
            return "killed-e2e", ",".join(names)
        if state in ("timeout", "error"):
            return state, ",".join(names)
        return "survived", ""
    finally:
        planter.restore()


def main():
    here = Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, default=2026)
    parser.add_argument("--count", type=int, default=40)
    parser.add_argument("--tree", type=Path, default=here, help="source tree (default: this one)")
    parser.add_argument("--build", type=Path, help="build directory (default: TREE/build/mingw-x64)")
    parser.add_argument("--list", type=Path, help="save the picked faults to this JSON file")
    parser.add_argument("--replay", type=Path, help="run the faults of a saved JSON list")
    parser.add_argument("--timeout", type=int, default=0,
                        help="seconds per test (default: 4 x the slowest in the clean run, at least 120)")
    parser.add_argument("--exclude", default="",
                        help="ctest regex of tests left out everywhere (e.g. ^install_e2e$ in a tree "
                             "without the installer)")
    parser.add_argument("--dry-run", action="store_true", help="pick and print, run nothing")
    args = parser.parse_args()
    tree = args.tree.resolve()
    build = (args.build or tree / "build" / "mingw-x64").resolve()

    if args.replay:
        saved = json.loads(args.replay.read_text())
        mutants = saved["mutants"]
        print(f"replaying {len(mutants)} faults from {args.replay} "
              f"(seed {saved.get('seed')}, tree {saved.get('commit', '?')})")
    else:
        candidates = collect(tree)
        mutants = choose(candidates, args.seed, args.count)
        print(f"{len(candidates)} candidate faults in {tree / 'src'}; "
              f"picked {len(mutants)} with seed {args.seed}")
    commit = subprocess.run(["git", "-C", str(tree), "rev-parse", "HEAD"],
                            capture_output=True, text=True).stdout.strip()
    print(f"tree {tree} at {commit or '?'}, build {build}", flush=True)
    if args.list:
        args.list.write_text(json.dumps({"seed": args.seed, "count": args.count,
                                         "commit": commit, "mutants": mutants}, indent=1) + "\n")
        print(f"list saved to {args.list}")
    if args.dry_run:
        for m in mutants:
            print(f"{m['id']:3}  {where(m):45} {m['kind']:11} {describe(m)}")
        return 0
    if not (build / "build.ninja").is_file():
        sys.exit(f"mutants: {build} is not configured (cmake --preset mingw-x64 first)")

    env = test_environment(tree, build)
    planter = Planter(tree, build)
    planter.recover()
    def interrupted(number, _frame):
        raise KeyboardInterrupt(signal.Signals(number).name)
    signal.signal(signal.SIGTERM, interrupted)
    signal.signal(signal.SIGINT, interrupted)
    results = []
    started = time.time()
    xvfb_pid = None
    try:
        code, output = run(["cmake", "--build", str(build)], env, timeout=3600)
        if code != 0:
            sys.exit("mutants: the unchanged tree does not build:\n" + output[-3000:])
        xvfb_pid = start_session(tree, env)
        # The clean suite must pass, or a failure would be taken for a caught fault; its
        # times set the per-test limit.
        state, names, seconds, output = ctest(build, env, ["-E", args.exclude] if args.exclude else [], args.timeout or 600)
        if state != "passed":
            sys.exit(f"mutants: the unchanged suite does not pass ({state}: {names}):\n" + output[-3000:])
        clean = time.time() - started
        unit_seconds = [s for n, s in seconds.items() if re.match(UNIT_TESTS, n)] or [30]
        rest_seconds = [s for n, s in seconds.items() if not re.match(UNIT_TESTS, n)] or [30]
        unit_timeout = args.timeout or max(120, 4 * max(unit_seconds))
        rest_timeout = args.timeout or max(120, 4 * max(rest_seconds))
        print(f"clean build and suite: {minutes(clean)} "
              f"(unit tests {sum(unit_seconds):.0f}s, the rest {sum(rest_seconds):.0f}s); "
              f"per-test limit {unit_timeout:.0f}s unit, {rest_timeout:.0f}s rest", flush=True)
        for done, m in enumerate(mutants, 1):
            t0 = time.time()
            verdict, detail = evaluate(m, planter, build, env, unit_timeout, rest_timeout, args.exclude)
            took = time.time() - t0
            results.append((m, verdict, detail, took))
            print(f"[{done:2}/{len(mutants)}] #{m['id']:<3} {verdict:11} {where(m):45} {describe(m)}"
                  f"{'  (' + detail + ')' if detail else ''}  {took:.0f}s", flush=True)
    except KeyboardInterrupt as stop:
        print(f"\ninterrupted ({stop or 'SIGINT'}): the source is restored", flush=True)
    finally:
        for process in list(children):
            stop_group(process)
        planter.restore()
        if xvfb_pid:
            stop_session(env, xvfb_pid)
        # Leave the build matching the restored sources.
        subprocess.run(["cmake", "--build", str(build)], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    report(results, time.time() - started)
    return 0


def report(results, total):
    print()
    print(f"{'#':>3}  {'result':11} {'where':45} {'kind':11} change")
    for m, verdict, detail, _ in results:
        print(f"{m['id']:3}  {verdict:11} {where(m):45} {m['kind']:11} {describe(m)}")
    count = {}
    for _, verdict, _, _ in results:
        count[verdict] = count.get(verdict, 0) + 1
    unit, e2e = count.get("killed-unit", 0), count.get("killed-e2e", 0)
    survived = count.get("survived", 0)
    print()
    print(f"killed by unit tests {unit}, killed by the rest {e2e}, survived {survived}, "
          f"timeout {count.get('timeout', 0)}, invalid {count.get('invalid', 0)}, "
          f"gone {count.get('gone', 0)}, error {count.get('error', 0)}")
    if unit + e2e + survived:
        print(f"kill ratio {unit + e2e}/{unit + e2e + survived} = "
              f"{(unit + e2e) / (unit + e2e + survived):.3f}")
    timeouts = count.get("timeout", 0)
    if timeouts:
        print(f"(with the timeouts counted as killed: {unit + e2e + timeouts}/"
              f"{unit + e2e + timeouts + survived} = "
              f"{(unit + e2e + timeouts) / (unit + e2e + timeouts + survived):.3f})")
    print(f"run time {minutes(total)}")
    survivors = [m for m, verdict, _, _ in results if verdict == "survived"]
    if survivors:
        print("survivors:")
        for m in survivors:
            print(f"  {where(m)}  {describe(m)}    | {m['text'].strip()}")


if __name__ == "__main__":
    sys.exit(main())
