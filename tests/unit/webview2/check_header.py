#!/usr/bin/env python3
"""Checks browser/WebView2Api.h against the runtime's published interface list
(interfaces.txt beside this file): for every interface the header declares, its
IID, its base, and each method's name and parameter types in slot order.

    check_header.py HEADER INTERFACES     exit 0: every interface matches
    check_header.py --self-test HEADER INTERFACES
        also proves the check fails on the header with two methods swapped
        and with one parameter's type changed
"""
import re
import sys


def normalise(params):
    params = params.replace("[out]", "").replace("void", "").strip()
    out = []
    for p in filter(None, (x.strip() for x in params.split(","))):
        p = re.sub(r"\s*\*\s*", "*", p)
        p = re.sub(r"\s+", " ", p)
        # Drop the parameter's name: its type is what the slot depends on.
        p = re.sub(r"[ *]?\w+$", lambda m: "*" if m.group(0).startswith("*") else "", p)
        out.append(p)
    return out


def read_list(text):
    interfaces = {}
    name = None
    for line in text.splitlines():
        m = re.match(r"interface (\w+) \{([0-9A-F-]+)\} : (\w+)", line)
        if m:
            name = m.group(1)
            interfaces[name] = {"iid": m.group(2), "base": m.group(3), "methods": []}
        elif name and line.startswith("  ") and line.strip():
            m = re.match(r"\s+(\w+)\((.*)\)$", line)
            interfaces[name]["methods"].append((m.group(1), normalise(m.group(2))))
        else:
            name = None
    return interfaces


def read_header(text):
    interfaces = {}
    iids = {}
    for m in re.finditer(r"IID IID_(\w+) = \{0x(\w+), 0x(\w+), 0x(\w+), \{([^}]*)\}\};", text):
        tail = "".join(b.strip()[2:] for b in m.group(5).split(","))
        iids[m.group(1)] = f"{m.group(2)}-{m.group(3)}-{m.group(4)}-{tail[:4]}-{tail[4:]}".upper()
    for m in re.finditer(r"struct (\w+) : public (\w+) \{(.*?)\n\};", text, re.S):
        methods = []
        for line in m.group(3).splitlines():
            if not line.strip():
                continue
            mm = re.match(r"\s+virtual HRESULT STDMETHODCALLTYPE (\w+)\((.*)\) = 0;$", line)
            if not mm:
                raise ValueError(f"{m.group(1)}: not a stdcall pure virtual method: {line.strip()}")
            methods.append((mm.group(1), normalise(mm.group(2))))
        interfaces[m.group(1)] = {"iid": iids.get(m.group(1)), "base": m.group(2), "methods": methods}
    return interfaces


def problems(header_text, list_text):
    published = read_list(list_text)
    found = []
    try:
        declared = read_header(header_text)
    except ValueError as e:
        return [str(e)]
    if not declared:
        return ["the header declares no interface"]
    for name, d in declared.items():
        p = published.get(name)
        if p is None:
            found.append(f"{name}: not a published interface")
            continue
        if d["iid"] != p["iid"]:
            found.append(f"{name}: IID {d['iid']}, published {p['iid']}")
        if d["base"] != p["base"]:
            found.append(f"{name}: base {d['base']}, published {p['base']}")
        for slot, (got, want) in enumerate(zip(d["methods"], p["methods"]), start=3):
            if got != want:
                found.append(f"{name} slot {slot}: {got[0]}({', '.join(got[1])}), published {want[0]}({', '.join(want[1])})")
        if len(d["methods"]) != len(p["methods"]):
            found.append(f"{name}: {len(d['methods'])} methods, published {len(p['methods'])}")
    return found


def main(argv):
    self_test = argv[1:2] == ["--self-test"]
    header_path, list_path = argv[2:4] if self_test else argv[1:3]
    header = open(header_path, encoding="utf-8").read()
    listing = open(list_path, encoding="utf-8").read()
    found = problems(header, listing)
    for p in found:
        print(p)
    if found:
        return 1
    print(f"{len(read_header(header))} interfaces match the published slot order")
    if self_test:
        swapped = header.replace(
            "put_IsVisible(BOOL isVisible) = 0;\n  virtual HRESULT STDMETHODCALLTYPE get_Bounds(RECT *bounds) = 0;",
            "get_Bounds(RECT *bounds) = 0;\n  virtual HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) = 0;")
        by_pointer = header.replace("put_Bounds(RECT bounds)", "put_Bounds(RECT *bounds)")
        for what, text in (("two methods swapped", swapped), ("RECT by pointer", by_pointer)):
            if text == header or not problems(text, listing):
                print(f"self-test: the check does not notice {what}")
                return 1
        print("self-test: swapped methods and a changed parameter type are caught")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
