#!/usr/bin/env python3
"""Writes Unimplemented<I>: for each interface named, a class deriving from it
whose every method (its own and those of its bases below IUnknown) logs the
call and answers E_NOTIMPL. The stand-in's objects derive from these and
override what they implement; since the signatures are read from the
platform's own headers, the slot order is theirs on every architecture.

    make_bases.py OUTPUT INCLUDE_DIR INTERFACE...
"""
import os
import re
import sys

HEADERS = ["oaidl.h", "oleidl.h", "ocidl.h", "exdisp.h", "mshtml.h"]

START = re.compile(r'^MIDL_INTERFACE\("[0-9a-fA-F-]+"\)\s*$')
HEAD = re.compile(r"^(\w+) : public (\w+)\s*$")
METHOD = re.compile(r"virtual\s+(\w+)\s+STDMETHODCALLTYPE\s+(\w+)\(\s*(.*?)\)\s*=\s*0;", re.S)


def read_interfaces(include_dir):
    found = {}
    for header in HEADERS:
        with open(os.path.join(include_dir, header), encoding="latin-1") as f:
            lines = f.read().split("\n")
        i = 0
        while i < len(lines):
            if START.match(lines[i]) and i + 1 < len(lines):
                head = HEAD.match(lines[i + 1])
                if head:
                    body = []
                    j = i + 2
                    while j < len(lines) and lines[j] != "};":
                        body.append(lines[j])
                        j += 1
                    methods = [(ret, name, " ".join(params.split()))
                               for ret, name, params in METHOD.findall("\n".join(body))]
                    found.setdefault(head.group(1), (head.group(2), methods))
                    i = j
            i += 1
    return found


def split_params(params):
    return [p.strip() for p in params.split(",") if p.strip()] if params else []


def without_defaults(params):
    # Default arguments belong to the interface's declaration only.
    return ", ".join(re.sub(r"\s*=.*$", "", p) for p in split_params(params))


def emit(name, interfaces):
    chain = []
    current = name
    while current != "IUnknown":
        if current not in interfaces:
            sys.exit(f"make_bases: no declaration of {current} in {', '.join(HEADERS)}")
        base, methods = interfaces[current]
        chain.append(methods)
        current = base
    out = [f"template <>\nclass Unimplemented<{name}> : public {name} {{", " public:"]
    seen = set()
    for methods in reversed(chain):
        for ret, method, params in methods:
            params = without_defaults(params)
            if method in seen:
                continue
            seen.add(method)
            nulls = []
            for p in split_params(params):
                pname = re.findall(r"(\w+)\s*$", p)
                if pname and p[: -len(pname[0])].rstrip().endswith("**"):
                    nulls.append(f"if ({pname[0]}) *{pname[0]} = nullptr; ")
            answer = "return E_NOTIMPL;" if ret == "HRESULT" else "return {};"
            out.append(f"  {ret} STDMETHODCALLTYPE {method}({params}) override {{ "
                       f"{''.join(nulls)}LogUnimplemented(\"{name}\", \"{method}\"); {answer} }}")
    out.append("};\n")
    return "\n".join(out)


def main(argv):
    output, include_dir, names = argv[1], argv[2], argv[3:]
    interfaces = read_interfaces(include_dir)
    text = ["// Written by tests/testbrowser/make_bases.py from the platform's headers: do not edit.",
            "#pragma once", "", "#include <windows.h>", "#include <exdisp.h>", "#include <mshtml.h>",
            "#include <ocidl.h>", "#include <oleidl.h>", "", "namespace testbrowser {", "",
            "// Logs a call of a method the stand-in does not implement (Log.cpp).",
            "void LogUnimplemented(const char* interfaceName, const char* method);", "",
            "template <typename I>", "class Unimplemented;", "",
            "#pragma GCC diagnostic push", "#pragma GCC diagnostic ignored \"-Wunused-parameter\"", ""]
    for name in names:
        text.append(emit(name, interfaces))
    text += ["#pragma GCC diagnostic pop", "", "}  // namespace testbrowser", ""]
    content = "\n".join(text)
    # Unchanged output keeps its time stamp: nothing rebuilds for nothing.
    if os.path.exists(output) and open(output).read() == content:
        return 0
    with open(output, "w") as f:
        f.write(content)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
