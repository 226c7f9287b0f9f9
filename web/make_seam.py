#!/usr/bin/python3
"""Writes the seam between the program and the page's script from its one list (seam.list), and
checks the page's script against it.

Usage: make_seam.py SEAM_LIST PAGE_JS HEADER EXPORTS SCRIPT LIBRARY
  HEADER   C++: the entry points' declarations, seam::page's functions (the program's imports),
           the route and verdict numbers checked
  EXPORTS  the program's exported functions, one a line (-sEXPORTED_FUNCTIONS=@EXPORTS)
  SCRIPT   JavaScript: Route, Verdict and entryPoints(module, changed), put before page.js
  LIBRARY  the program's imports, each calling the page's function of its name (--js-library)
"""
import re
import sys


def read_list(path):
    entries, pages, enums = [], [], {"route": [], "verdict": []}
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        kind, _, rest = line.partition(" ")
        if kind in ("entry", "page"):
            m = re.fullmatch(r"(.+?)\s*\b(\w+)\((.*)\)", rest)
            if not m:
                sys.exit(f"{path}:{number}: not a declaration: {rest}")
            result, name, params = m.groups()
            result, named = result.strip(), [tuple(p.split()) for p in params.split(",") if p.strip()]
            if kind == "entry":
                entries.append((name, result, params, len(named)))
                continue
            types = [result] + [p[0] for p in named]
            if any(t not in ("void", "bool", "int", "string") for t in types) or "void" in types[1:]:
                sys.exit(f"{path}:{number}: a type the seam does not carry: {rest}")
            pages.append((name, result, named))
        elif kind in enums and re.fullmatch(r"\w+", rest):
            enums[kind].append(rest)
        else:
            sys.exit(f"{path}:{number}: cannot read: {line}")
    return entries, pages, enums


def check_script(path, entries, pages, enums):
    """page.js calls only the listed entry points, all of them, by the generated table, and its
    `page` object defines exactly the listed page functions."""
    script = open(path, encoding="utf-8").read()
    errors = []
    if "_orvan_" in script:
        errors.append("calls an entry point by its exported name; use program.NAME")
    used = set(re.findall(r"\bprogram\.(\w+)", script))
    names = {e[0] for e in entries}
    errors += [f"program.{n} is not in the list" for n in sorted(used - names)]
    errors += [f"entry {n} is never called" for n in sorted(names - used)]
    for kind, enum in (("route", "Route"), ("verdict", "Verdict")):
        for n in sorted(set(re.findall(rf"\b{enum}\.(\w+)", script)) - set(enums[kind])):
            errors.append(f"{enum}.{n} is not in the list")
    body = re.search(r"^( *)const page = \{\n(.*?)^\1\};", script, re.M | re.S)
    if not body:
        errors.append("no `const page = { ... };`")
    else:
        indent = len(body.group(1)) + 4
        defined = set(re.findall(rf"^ {{{indent}}}(\w+)\s*[(,:]", body.group(2), re.M))
        errors += [f"page.{n} is not defined" for n, _, _ in pages if n not in defined]
        errors += [f"page.{n} is not in the list" for n in sorted(defined - {p[0] for p in pages})]
    if errors:
        sys.exit("\n".join(f"{path}: {e}" for e in errors))


def header(entries, pages, enums):
    out = ["#pragma once", "// Written by make_seam.py from web/seam.list.", "",
           '#include "form/main_form.h"', "", "#include <cstdlib>", "#include <string>",
           "#include <string_view>", "", 'extern "C" {']
    out += [f"{result}{'' if result.endswith('*') else ' '}orvan_{name}({params});"
            for name, result, params, _ in entries]
    # The imports: a string goes to the page as its UTF-8 bytes and their count, and comes back
    # in memory the program frees.
    wrappers = []
    for name, result, params in pages:
        c_params = ", ".join(f"const char *{n}, int {n}Length" if t == "string" else f"{t} {n}"
                             for t, n in params)
        out.append(f"{'char *' if result == 'string' else result + ' '}orvan_page_{name}({c_params});")
        cpp_params = ", ".join(f"std::string_view {n}" if t == "string" else f"{t} {n}" for t, n in params)
        args = ", ".join(f"{n}.data(), static_cast<int>({n}.size())" if t == "string" else n
                         for t, n in params)
        body = (f"char *text = orvan_page_{name}({args}); std::string copy(text); std::free(text); return copy;"
                if result == "string" else f"{'' if result == 'void' else 'return '}orvan_page_{name}({args});")
        wrappers.append(f"inline {'std::string' if result == 'string' else result} {name}({cpp_params}) "
                        f"{{ {body} }}")
    out += ["}", "", "// The page's functions the program calls, by their names in page.js.",
            "namespace seam::page {", ""] + wrappers + ["", "} // namespace seam::page", ""]
    for kind, enum in (("route", "Route"), ("verdict", "Verdict")):
        for number, name in enumerate(enums[kind]):
            out.append(f"static_assert(static_cast<int>(form::MainForm::{enum}::{name}) == {number},"
                       f' "seam.list: {kind} {name}");')
    return "\n".join(out) + "\n"


def script(entries, enums):
    out = ["// Written by make_seam.py from web/seam.list."]
    for kind, enum in (("route", "Route"), ("verdict", "Verdict")):
        out.append(f"const {enum} = {{ " + ", ".join(f"{n}: {k}" for k, n in enumerate(enums[kind]))
                   + " };")
    out.append("const entryPoints = (M, changed) => ({")
    for name, result, _, arity in entries:
        args = ", ".join("abcdefgh"[:arity])
        if result == "void":
            out.append(f"    {name}: ({args}) => {{ M._orvan_{name}({args}); changed(); }},")
        else:
            out.append(f"    {name}: M._orvan_{name},")
    out.append("});")
    return "\n".join(out) + "\n"


def library(pages):
    out = ["// Written by make_seam.py from web/seam.list.", "mergeInto(LibraryManager.library, {"]
    for name, result, params in pages:
        js_params = [f"{n}, {n}Length" if t == "string" else n for t, n in params]
        args = ", ".join(f"UTF8ToString({n}, {n}Length)" if t == "string" else n for t, n in params)
        call = f'Module["page"].{name}({args})'
        body = f"{'' if result == 'void' else 'return '}{call};"
        if result == "string":
            # UTF8ToString, lengthBytesUTF8 and stringToUTF8 are the runtime's own; malloc must be
            # asked for, to be exported.
            out.append(f'    orvan_page_{name}__deps: ["malloc"],')
            body = (f"var text = {call}, size = lengthBytesUTF8(text) + 1, copy = _malloc(size); "
                    "stringToUTF8(text, copy, size); return copy;")
        out.append(f"    orvan_page_{name}: function ({', '.join(js_params)}) {{ {body} }},")
    out.append("});")
    return "\n".join(out) + "\n"


def main(seam_list, page_js, header_path, exports_path, script_path, library_path):
    entries, pages, enums = read_list(seam_list)
    check_script(page_js, entries, pages, enums)
    for path, text in ((header_path, header(entries, pages, enums)),
                       (exports_path, "".join(f"_orvan_{e[0]}\n" for e in entries)),
                       (script_path, script(entries, enums)), (library_path, library(pages))):
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    main(*sys.argv[1:])
