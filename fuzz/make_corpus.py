#!/usr/bin/env python3
"""Writes the seed corpus of numbox_fuzz (fuzz/corpus/numbox/): small scripts in the input format
documented at the top of fuzz/numbox_fuzz.cpp, one per behaviour worth starting from; and its
dictionary (fuzz/numbox_fuzz.dict): whole steps the fuzzer can splice into inputs, since a
property write with a telling value is several bytes that random mutation rarely assembles.

Run from anywhere: python3 fuzz/make_corpus.py (it replaces the files it writes)."""
import pathlib

# Property numbers (kProps in numbox_fuzz_state.h) and variant kinds (Reader::Make).
(PRE, POST, DEC, SEP, MINUS, SMALLEST, LARGEST, CHECKRANGE, VALUE, TEXT, ENABLED, LOCKED,
 SELECT_ON_FOCUS, MUST_HAVE, INCL_SMALLEST, INCL_LARGEST, WARNING, FONTSIZE, APPEARANCE,
 BORDER) = range(20)
V_INT, V_LONG, V_DOUBLE, V_STRING, V_BOOL, V_NULL, V_EMPTY, V_SINGLE = range(8)
# Special numbers (Reader::Number, kind 1).
NAN, INF, E20, P999995 = 0, 1, 7, 10


def s(text):
    data = text.encode("latin-1")
    return bytes([len(data)]) + data


def num(value):  # a signed byte
    return bytes([3, value & 0xFF])


def dec(mantissa, decimals):  # mantissa / 10**decimals
    m = mantissa & 0xFFFFFF
    return bytes([0, m & 0xFF, (m >> 8) & 0xFF, m >> 16, decimals])


def special(index):
    return bytes([1, index])


def set_(prop, operand=b"\x01"):
    return b"s" + bytes([prop]) + operand


def let(prop, kind, operand=b""):  # a write of any variant
    return b"s" + bytes([prop | 0x80, kind]) + operand


def value(kind, operand=b""):
    return set_(VALUE, bytes([kind]) + operand)


def text(kind, operand=b""):
    return set_(TEXT, bytes([kind]) + operand)


def mouse(op, on_other, *coords):
    return op + bytes([1 if on_other else 0, *coords])


SEEDS = {
    "typing_grouped": b"f1234,567o",
    "decimal_first": b"f,5o" + b"f.5o",
    "no_fraction_digits": set_(POST, b"\x00") + b"f12,3.o",
    "leading_zero": b"f05o" + set_(MINUS) + b"f-05o",
    "minus_toggle": set_(MINUS) + b"f12--o" + set_(MINUS, b"\x00") + b"f12-o",
    "backspace_and_left": b"f1234bbbbbo" + set_(MINUS) + b"f-5bbbo" + b"f123lLlo",
    "highlight_replaced": text(V_STRING, s("42")) + b"f7o" + b"feo",
    "copy_cut_paste": value(V_STRING, s("12.5")) + b"fCo" + b"fXo" + b"fVo" + b"f" + b"p" + s("abc") + b"o",
    "paste_text": b"fp" + s("12.5") + b"p" + s(" 7x") + b"p" + s("1e5") + b"p" + s("-3") + b"o",
    "delete_highlighted": b"f12ofdo" + b"fnd5o",
    "undo_twice": b"f12of34ofZZo" + b"fZo",
    "pre_lowered_while_typing": b"f12345" + set_(PRE, b"\x03") + b"6o" + set_(PRE, b"\x07") + b"fo",
    "paste_beyond_pre": value(V_LONG, b"\x7b\xc8") + b"f" + set_(PRE, b"\x02") + b"p" + s("99999") + b"Zo",
    "post_written_while_typing": b"f1,23" + set_(POST, b"\x01") + set_(POST, b"\x05") + b"678o",
    "post_written_over_too_long_value": value(V_LONG, b"\x0c\x22") + set_(PRE, b"\x03") + set_(POST, b"\x03") + set_(SEP, b"\x00") + b"fo",
    "post_out_of_range": set_(POST, b"\xff") + set_(POST, b"\xfe") + set_(POST, b"\xf9") + b"f9,99o",
    "pre_out_of_range": set_(PRE, b"\x00") + set_(PRE, b"\x10") + set_(PRE, b"\xf8") + set_(PRE, b"\x0f") + b"f1234567890123456o",
    "decimal_character": b"f1234,5" + set_(DEC, s(".")) + b".6o" + set_(DEC, s("")) + set_(DEC, s("x")) + set_(DEC, s("5")) + set_(DEC, s("-")) + set_(DEC, s(".,")),
    "decimal_character_emptied": set_(DEC, s(".")) + value(V_DOUBLE, dec(123456, 2)) + set_(DEC, s("")) + set_(DEC, s("x")) + set_(DEC, s("")),
    "minus_regrouped": set_(MINUS) + value(V_STRING, s("-1234.5")) + set_(SEP, b"\x00") + set_(SEP) + b"f-1234,5o",
    "separator_toggle": set_(SEP, b"\x00") + b"f1234567,89" + set_(SEP) + b"o" + set_(SEP, b"\x00"),
    "range_check": set_(CHECKRANGE) + set_(SMALLEST, num(0)) + set_(LARGEST, num(10)) + set_(INCL_SMALLEST, b"\x00") + b"f11K0o" + b"v\x01K" + b"v\x02fo",
    "value_strings": value(V_STRING, s("12.5")) + value(V_STRING, s("-3")) + value(V_STRING, s("1e5")) + value(V_STRING, s("abc")) + value(V_STRING, s(" 7 ")) + value(V_STRING, s("1,5")) + value(V_NULL),
    "value_numbers": value(V_DOUBLE, special(E20)) + value(V_DOUBLE, special(NAN)) + value(V_DOUBLE, special(INF)) + set_(PRE, b"\x03") + value(V_DOUBLE, special(P999995)) + value(V_DOUBLE, dec(-12345, 3)) + value(V_DOUBLE, dec(99999, 2)) + value(V_DOUBLE, dec(9995, 3)),
    "text_strings": text(V_STRING, s("1.234,5")) + text(V_STRING, s(" +12 ")) + text(V_STRING, s("-3")) + set_(MINUS) + text(V_STRING, s("-3")) + text(V_STRING, s("12a")) + text(V_STRING, s("")) + text(V_NULL),
    "disabled_and_locked": b"f12" + set_(ENABLED, b"\x00") + b"a\x19a\x19" + b"34" + set_(ENABLED) + set_(LOCKED) + b"56" + set_(LOCKED, b"\x00") + b"o",
    "mouse_gestures": mouse(b"m", 0, 150, 100, 0) + mouse(b"G", 0, 170, 100, 100, 100, 4) + mouse(b"G", 0, 170, 100, 150, 100, 4) + mouse(b"D", 0, 100, 100) + mouse(b"M", 0, 120, 100) + mouse(b"m", 1, 50, 100, 2) + mouse(b"m", 0, 185, 140, 1),
    "focus_moves": b"ft12tT34tabcToTg5f6o",
    "late_binding": let(PRE, V_STRING, s("abc")) + let(POST, V_INT, b"\xfe") + let(VALUE, V_DOUBLE, dec(125, 1)) + let(TEXT, V_STRING, s("5,5")) + let(DEC, V_BOOL, b"\x01") + let(VALUE, V_EMPTY) + let(VALUE, V_NULL) + let(PRE, V_LONG, b"\x00\x02"),
    "layout_and_font": b"R\x64\x64" + set_(FONTSIZE, num(20)) + set_(BORDER, b"\x00") + set_(APPEARANCE, b"\x01") + set_(BORDER, b"\x02") + b"R\x00\x00f12a\x19o" + set_(FONTSIZE, num(0)),
    "keypress_handler": b"y\x01f123y\x02f45y\x00,6o",
    "odd_keys": b"fc\x83c\x89c\x00k\x56\x02k\x25\x01k\x24\x03k\x2e\x00+ c\x0dxhHnro",
    "select_on_focus_off": set_(SELECT_ON_FOCUS, b"\x00") + value(V_STRING, s("5")) + b"f6o" + set_(MUST_HAVE) + set_(WARNING) + b"fbo",
}


def dictionary():
    steps = {}
    for v in (0, 1, 2, 3, 7, 15, 16):
        steps[f"pre_{v}"] = set_(PRE, bytes([v]))
    for v in (0, 1, 2, 3, 255):
        steps[f"post_{v}"] = set_(POST, bytes([v]))
    steps["post_256"] = set_(POST, b"\xfc")
    for name, chars in (("dot", "."), ("comma", ","), ("empty", ""), ("x", "x")):
        steps[f"decimal_{name}"] = set_(DEC, s(chars))
    for prop, name in ((SEP, "separator"), (MINUS, "allow_minus"), (CHECKRANGE, "check_range"),
                       (ENABLED, "enabled"), (LOCKED, "locked"),
                       (SELECT_ON_FOCUS, "select_on_focus"), (MUST_HAVE, "must_have_value")):
        steps[f"{name}_on"] = set_(prop, b"\x01")
        steps[f"{name}_off"] = set_(prop, b"\x00")
    steps["smallest_0"] = set_(SMALLEST, num(0))
    steps["largest_10"] = set_(LARGEST, num(10))
    steps["value_null"] = value(V_NULL)
    steps["value_999_999"] = value(V_STRING, s("999.999"))
    steps["value_123456"] = value(V_LONG, b"\x7b\xc8")
    steps["text_minus_5"] = text(V_STRING, s("-5"))
    steps["text_grouped"] = text(V_STRING, s("1.234,5"))
    steps["paste_12_5"] = b"p" + s("12.5")
    steps["paste_99999"] = b"p" + s("99999")
    steps["type_grouped"] = b"f1234,56"
    steps["minus_zero"] = b"-0"
    steps["leave_and_back"] = b"of"
    steps["undo"] = b"fZ"
    steps["caret_blink"] = b"a\x19"
    steps["drag_select"] = mouse(b"G", 0, 170, 100, 100, 100, 4)
    steps["double_click"] = mouse(b"D", 0, 100, 100)

    def quoted(data):
        return "".join(chr(b) if 32 <= b < 127 and chr(b) not in '"\\' else f"\\x{b:02X}"
                       for b in data)

    lines = ["# libFuzzer dictionary for numbox_fuzz: whole steps of its input format.",
             "# Written by fuzz/make_corpus.py."]
    lines += [f'{name}="{quoted(data)}"' for name, data in steps.items()]
    return "\n".join(lines) + "\n"


def main():
    here = pathlib.Path(__file__).resolve().parent
    out = here / "corpus" / "numbox"
    out.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (out / name).write_bytes(data)
    (here / "numbox_fuzz.dict").write_text(dictionary())
    print(f"{len(SEEDS)} seeds in {out}, dictionary in {here / 'numbox_fuzz.dict'}")


if __name__ == "__main__":
    main()
