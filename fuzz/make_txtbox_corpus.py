#!/usr/bin/env python3
"""Writes the seed corpus of txtbox_fuzz (fuzz/corpus/txtbox/): small scripts in the input format
documented at the top of fuzz/txtbox_fuzz.cpp, one per behaviour worth starting from; and its
dictionary (fuzz/txtbox_fuzz.dict): whole steps the fuzzer can splice into inputs.

Run from anywhere: python3 fuzz/make_txtbox_corpus.py (it replaces the files it writes)."""
import pathlib

# Property numbers (kProps in txtbox_fuzz_state.h) and variant kinds (Reader::Make).
(TEXT, MAXLENGTH, MULTILINE, LOCKED, FONTSIZE, SCROLLBARS, TRIM, ALLUCASE, CAPITAL, FORBIDDEN,
 NULL_TO_EMPTY, MUST_HAVE, WARNING, ENABLED, SELECT_ON_FOCUS, SELSTART, SELLENGTH, SELTEXT,
 PASSWORD, APPEARANCE, BORDER, BACKCOLOR, FOCUSCOLOR, POINTER, FONTNAME, FONTBOLD) = range(26)
V_INT, V_LONG, V_DOUBLE, V_STRING, V_BOOL, V_NULL, V_EMPTY, V_SINGLE = range(8)
# Special font sizes (Reader::FontSize, kind 1).
TINY, DENORMAL, ZERO, HUGE_OK, ABOVE_LIMIT, NAN = 0, 1, 2, 8, 9, 13


def s(text):
    data = text.encode("latin-1")
    return bytes([len(data)]) + data


def set_(prop, operand=b"\x01"):
    return b"s" + bytes([prop]) + operand


def text(value):
    return set_(TEXT, bytes([V_STRING]) + s(value))


def null():
    return set_(TEXT, bytes([V_NULL]))


def font(index):
    return set_(FONTSIZE, bytes([1, index]))


def typed(value):
    return b'"' + s(value)


def mouse(op, on_other, *coords):
    return op + bytes([1 if on_other else 0, *coords])


SEEDS = {
    "typing_and_leaving": b"f" + typed("  hello wOrld ") + b"o" + b"f" + typed(" x") + b"o",
    "text_writes": text("  abc  ") + text("") + null() + set_(NULL_TO_EMPTY, b"\x00") + null() + text(" q") + b"F",
    "max_length": set_(MAXLENGTH, b"\x03") + b"f" + typed("abcdef") + b"p" + s("xyz") + b"hp" + s("12") + b"o" + set_(MAXLENGTH, b"\xf8"),
    "locked_keys": text("abc") + set_(LOCKED) + b"f" + typed("de") + b"bdXVZCo" + set_(LOCKED, b"\x00"),
    "multiline_swap": b"f" + typed("abc") + set_(MULTILINE) + typed("def") + b"e" + typed("g") + set_(SCROLLBARS, b"\x02") + b"uwo" + set_(MULTILINE, b"\x00"),
    "tiny_font_click": set_(MULTILINE) + b"E\x02" + font(TINY) + b"f" + mouse(b"m", 0, 10, 60, 0) + mouse(b"D", 0, 20, 120) + mouse(b"G", 0, 10, 30, 200, 200, 5) + font(DENORMAL) + font(ZERO) + font(NAN),
    "huge_font_and_sizes": font(HUGE_OK) + b"E\x3f" + set_(MULTILINE) + b"z\xff\xff" + b"f" + mouse(b"m", 0, 0xf9, 0xfc, 0) + mouse(b"m", 0, 0xfe, 0xff, 0) + b"z\xfa\xfb" + font(ABOVE_LIMIT) + b"o",
    "change_throws_in_text_write": text("Old") + b"j\x01" + text("  new ") + null() + b"j\x00f" + typed("x") + b"o",
    "validation_throws_when_leaving": b"v\x03f" + typed("  ") + b"o" + b"f" + typed("a") + b"ov\x00",
    "key_handlers_throw": b"y\x03f" + typed("ab") + b"y\x01" + typed("c") + b"y\x02" + typed("d") + b"y\x00q\x02" + typed("e") + b"q\x01bq\x00o",
    "change_writes_text": b"j\x02f" + typed("ab") + b"o" + b"j\x03" + text("x") + b"f" + typed("y") + b"oj\x00",
    "upper_case_and_forbidden": set_(ALLUCASE) + set_(FORBIDDEN, s("A")) + b"f" + typed("abc") + b"o" + set_(FORBIDDEN, s("a")) + b"f" + typed("a") + b"o",
    "null_then_typing": set_(NULL_TO_EMPTY, b"\x00") + null() + b"f" + typed("x") + b"o" + null() + set_(SELTEXT, s("z")),
    "sel_text": text("abcdef") + set_(SELSTART, b"\x02\x00") + set_(SELLENGTH, b"\x03\x00") + set_(SELTEXT, s("ZZ")) + set_(SELSTART, b"\xf8\x00"),
    "enabled_while_focused": b"f" + typed(" ab ") + set_(ENABLED, b"\x00") + typed("c") + set_(ENABLED) + typed("d") + b"o",
    "clipboard": text("hello world") + b"fNCXVVZZ" + b"P\x05" + b"p" + s("a\r\nb") + b"o",
    "border_settings": set_(APPEARANCE, b"\x00") + set_(BORDER, b"\x00") + set_(APPEARANCE, b"\x02") + set_(BORDER, b"\xf8") + set_(APPEARANCE) + set_(BORDER),
    "focus_moves": b"f" + typed("a") + b"tT" + b"g" + typed("b") + b"f" + b"ttoTg",
    "select_on_focus": set_(SELECT_ON_FOCUS) + text("abc") + mouse(b"m", 0, 20, 30, 0) + b"a\x05" + mouse(b"m", 0, 20, 30, 0) + b"a\x30" + mouse(b"m", 0, 20, 30, 0) + b"o",
    "password_char": set_(PASSWORD, s("*x")) + b"f" + typed("abc") + b"HCXo" + set_(PASSWORD, s("")),
    "odd_characters": b"f" + bytes(b for i in range(16) for b in (ord("c"), 0x80 + i)) + b"o",
    "colours_and_validity": set_(MUST_HAVE, b"\x00") + set_(WARNING) + b"v\x02Kv\x01" + set_(BACKCOLOR, b"\x10\x00") + set_(FOCUSCOLOR, b"\xfa\x00") + b"f" + typed("a") + b"bov\x00K",
    "late_binding": bytes([ord("s"), TEXT | 0x80, V_DOUBLE, 10, 5]) + bytes([ord("s"), MAXLENGTH | 0x80, V_STRING]) + s("abc") + bytes([ord("s"), FONTSIZE | 0x80, V_EMPTY]) + bytes([ord("s"), POINTER, 16]) + bytes([ord("s"), FONTNAME]) + s(""),
    "round_trip": text(" Saved ") + set_(MAXLENGTH, b"\x05") + set_(MULTILINE) + font(HUGE_OK) + b"W" + null() + b"W",
}


def dictionary():
    steps = {
        "text_abc": text("abc"), "text_blanks": text("  a  "), "text_null": null(),
        "maxlength_3": set_(MAXLENGTH, b"\x03"), "maxlength_0": set_(MAXLENGTH, b"\x00"),
        "font_tiny": font(TINY), "font_huge": font(HUGE_OK), "font_nan": font(NAN),
        "long_text": b"E\x20", "long_paste": b"P\x10", "paste_lines": b"p" + s("a\r\nb"),
        "type_blanks": typed("  a "), "focus_and_leave": b"fo", "undo": b"Z",
        "click_low": mouse(b"m", 0, 10, 200, 0), "click_far": mouse(b"m", 0, 0xfc, 0xfc, 0),
        "resize_huge": b"z\xff\xff", "resize_small": b"z\x01\x01",
        "validation_throws": b"v\x03", "validation_none": b"v\x00", "change_throws": b"j\x01",
        "change_writes": b"j\x02", "change_none": b"j\x00", "keypress_throws": b"y\x03",
        "keydown_throws": b"q\x02", "handlers_off": b"v\x00y\x00q\x00j\x00",
        "format": b"F", "check": b"K", "round_trip": b"W",
    }
    for prop, name in ((MULTILINE, "multiline"), (LOCKED, "locked"), (TRIM, "trim"),
                       (ALLUCASE, "allucase"), (CAPITAL, "capital"), (ENABLED, "enabled"),
                       (NULL_TO_EMPTY, "null_to_empty"), (SELECT_ON_FOCUS, "select_on_focus")):
        steps[f"{name}_on"] = set_(prop, b"\x01")
        steps[f"{name}_off"] = set_(prop, b"\x00")

    def quoted(data):
        return "".join(chr(b) if 32 <= b < 127 and chr(b) not in '"\\' else f"\\x{b:02X}"
                       for b in data)

    lines = ["# libFuzzer dictionary for txtbox_fuzz: whole steps of its input format.",
             "# Written by fuzz/make_txtbox_corpus.py."]
    lines += [f'{name}="{quoted(data)}"' for name, data in steps.items()]
    return "\n".join(lines) + "\n"


def main():
    here = pathlib.Path(__file__).resolve().parent
    out = here / "corpus" / "txtbox"
    out.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (out / name).write_bytes(data)
    (here / "txtbox_fuzz.dict").write_text(dictionary())
    print(f"{len(SEEDS)} seeds in {out}, dictionary in {here / 'txtbox_fuzz.dict'}")


if __name__ == "__main__":
    main()
