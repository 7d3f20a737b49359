#!/usr/bin/env python3
"""Writes the seed corpus of combobox_fuzz (fuzz/corpus/combobox/): small scripts in the input
format documented at the top of fuzz/combobox_fuzz.cpp, one per behaviour worth starting from; and
its dictionary (fuzz/combobox_fuzz.dict): whole steps the fuzzer can splice into inputs.

Run from anywhere: python3 fuzz/make_combobox_corpus.py (it replaces the files it writes)."""
import pathlib

# Property numbers (kProps in combobox_fuzz_state.h).
(TEXT, LIST_INDEX, MIN_LEN, MUST_FIT, MUST_HAVE, TRIM, FORBIDDEN, LOCKED, ENABLED, DROP_DOWN,
 BUTTON1, BUTTON2, SELECT_ON_FOCUS, MAX_LENGTH, DATA_FIELD, DATA_ID_FIELD, SQL, CONNECTION,
 WARNING, SEL_START, SEL_LENGTH) = range(21)
# Kinds of Reader::Any.
A_INT, A_LONG, A_DOUBLE, A_STRING, A_BOOL, A_NULL, A_EMPTY, A_OBJECT = range(8)
# Kinds of Reader::Index.
I_MISSING, I_INT, _, I_LONG, I_NULL, I_STRING, I_HALF, I_ANY = range(8)
# Kinds of a column argument.
C_NUMBER, _, C_DATA_FIELD, C_DATA_ID_FIELD, C_NAME, C_STRING, C_DIGIT, C_ANY = range(8)
# kNames.
NAME, NAME_BLANK, ID, ID_UPPER, CITY, STRASSE_SHARP, STRASSE, BLANK = range(8)
# The characters bytes from 0x80 stand for (kOddChars), in order.
ODD = "\u00e4\u00c4\u00df\u1e9e\u0130\u0131\u03a3\u03c3\u03c2\u212a\u017f\u01c5\u00a0" \
      "\ud801\udc00\udc28"
# Small integers from 248 on.
MINUS_ONE, MINUS_TWO = 0xF8, 0xF9


def chars(text):
    """Character bytes: ASCII as is, the odd characters as 0x80 + their index."""
    return bytes(ord(c) if ord(c) < 0x80 else 0x80 + ODD.index(c) for c in text)


def s(text):
    data = chars(text)
    return bytes([len(data)]) + data


def typed(text):
    return b'"' + s(text)


def add(*texts):
    return b"".join(b"+" + s(t) for t in texts)


def insert(text, index):
    return b"i" + s(text) + index


def small(n):
    return bytes([n if n >= 0 else {-1: MINUS_ONE, -2: MINUS_TWO}[n]])


def set_(prop, operand=b"\x01"):
    return b"s" + bytes([prop]) + operand


def name(i):
    return bytes([i])


def string_any(text):
    return bytes([A_STRING]) + s(text)


def probe(text, start):
    return b"p" + s(text) + small(start)


FILL = add("Anna", "Anton", "Berta")

SEEDS = {
    "complete_one_candidate": FILL + b"f" + typed("ant") + b"eo",
    "complete_several_candidates": FILL + b"f" + typed("an") + b"e" + b"uuwww" + b"eo",
    "complete_trailing_blank": FILL + b"f" + typed("berta ") + b"eg",
    "complete_no_candidate": FILL + b"f" + typed("x") + b"ebo",
    "while_dropped_prefix": FILL + b"fe" + typed("Bx") + b"b" + typed("an") + b"wo",
    "escape_while_dropped": FILL + b"f" + typed("an") + b"ex" + typed("t") + b"eXo",
    "enter_chooses_marked": FILL + b"f" + typed("an") + b"ee" + b"K",
    "shifted_keys": FILL + b"f" + typed("an") + b"E" + b"e" + b"UWB" + b"X" + b"bbo",
    "any_keys": FILL + b"f" + b"k\x0d\x02" + b"k\x26\x00" + b"k\x28\x04" + b"k\x1b\x00" + b"k\x41\x01o",
    "choose_with_mouse_then_timer": FILL + b"f" + typed("an") + b"e" + b"l\x00" + b"A" + b"o",
    "close_list_then_timer": FILL + b"f" + typed("an") + b"e" + b"L" + b"a\x05" + b"a\x30" + b"o",
    "leave_unchecked": FILL + b"f" + typed("bert") + b"g",
    "leave_several_candidates": FILL + b"f" + typed("an") + b"g" + b"w" + b"g",
    "leave_while_dropped": FILL + b"f" + typed("an") + b"e" + b"ot",
    "tab_away_and_back": FILL + b"f" + typed("an") + b"tT" + b"e" + b"t",
    "min_len": FILL + set_(MIN_LEN, small(3)) + b"f" + typed("an") + b"e1" + typed("t") + b"1o",
    "button1_and_timer": FILL + b"f" + typed("an") + b"1" + b"a\x05" + b"1" + b"A" + b"1" + b"l\x02" + b"a\x02" + b"1o",
    "button2_visibility": FILL + b"f2" + b"V2" + b"V2" + set_(BUTTON1, b"\x00") + b"1V" + set_(BUTTON1) + b"1o",
    "drop_down_style_initials": FILL + add("anita", "Bert") + b"yf" + typed("aab") + b"wwuu" + b"ee" + b"o",
    "drop_down_style_escape": FILL + b"yf" + b"ex" + b"e" + b"l\x01" + b"1" + b"A" + b"1" + b"yo",
    "drop_down_blanks_apostrophes": add("O'Neil", " Blank", "o'brien", "") + b"yf" + typed("'o  O") + b"wwwwwo",
    "drop_down_locked": FILL + set_(LOCKED) + b"yf" + typed("b") + b"wue" + set_(LOCKED, b"\x00") + b"wo",
    "case_folding_items": add("Stra\u00dfe", "STRASSE", "\u017ftop", "\u212aelvin", "\u03a3\u03c3\u03c2", "\u0130stanbul", "\u0131rmak")
    + b"f" + typed("stra\u1e9e") + b"e" + typed("\u03c3") + b"e" + b"x" + typed("kel") + b"e"
    + probe("STOP", -1) + probe("\u03c3\u03a3", 0) + probe("i", 2) + b"o",
    "surrogate_items": add("\ud801\udc00x", "\ud801\udc28y", "\ud801", "\udc00") + b"f" + typed("\ud801\udc28") + b"e"
    + probe("\ud801", -1) + probe("\ud801\udc00", 1) + probe("\udc00", 0) + b"o",
    "nul_and_control_items": add("a\x00", "a", "a\x00b", "\x00") + probe("a\x00", 0) + probe("a", 1) + b"f" + typed("a") + b"eo",
    "insert_indexes": FILL + insert("first", bytes([I_INT]) + small(0)) + insert("end", bytes([I_INT]) + small(5))
    + insert("beyond", bytes([I_INT]) + small(9)) + insert("append", bytes([I_INT, MINUS_ONE]))
    + insert("minus two", bytes([I_INT, MINUS_TWO])) + insert("text one", bytes([I_STRING]) + small(1))
    + insert("half", bytes([I_HALF]) + small(1)) + insert("null", bytes([I_NULL]))
    + insert("missing", bytes([I_MISSING])) + insert("object", bytes([I_ANY, A_OBJECT, 1]))
    + insert("word", bytes([I_ANY]) + string_any("x")),
    "remove_items": FILL + b"I\x01" + b"-\x00" + b"-" + small(-1) + b"-\x05" + b"-\x01" + b"-\x00" + b"-\x00",
    "clear_and_set_item": FILL + b"f" + typed("an") + b"e" + b"C" + b"S\x00" + s(" Zora ") + b"\x01\x02"
    + b"S\x02\x00\x00" + b"S\x03" + bytes([A_OBJECT, 1]) + b"\x00\x00" + b"S\x03" + bytes([A_DOUBLE, 1, 4]) + b"\x00\x00" + b"o",
    "list_index": FILL + b"I\x01" + b"I\x01" + b"I" + small(-1) + b"I" + small(-2) + b"I\x03" + b"I\x02" + b"f" + b"eo",
    "list_and_item_data": FILL + b"=\x00" + s("Zora") + b"=\x09" + s("none") + b"D\x01\x00\x07" + b"D" + small(-1) + b"\x00\x01"
    + b"r\x00" + b"r\x01" + b"r\x09" + b"r" + small(-1) + b"I\x00" + b"=\x00" + s("Anneliese"),
    "item_columns": FILL + b"]" + bytes([C_NUMBER]) + small(0) + bytes([I_INT, 0]) + string_any("v")
    + b"]" + bytes([C_NAME, CITY, I_INT, 0]) + string_any("Berlin")
    + b"[" + bytes([C_NAME, CITY, I_INT, 0]) + b"[" + bytes([C_NUMBER]) + small(0) + bytes([I_INT, 0])
    + b"]" + bytes([C_NUMBER]) + small(0) + bytes([I_INT, 2]) + bytes([A_LONG, 3, 5])
    + b"[" + bytes([C_NUMBER]) + small(0) + bytes([I_INT, 2]) + b"[" + bytes([C_NUMBER]) + small(1) + bytes([I_INT, 0])
    + b"]" + bytes([C_NUMBER]) + small(-1) + bytes([I_INT, 0]) + string_any("ignored")
    + b"[" + bytes([C_DIGIT, 0, I_INT, 0]) + b"[" + bytes([C_ANY, A_OBJECT, 1, I_INT, 0])
    + b"[" + bytes([C_NAME, CITY, I_ANY]) + string_any("x"),
    "item_data_fields": FILL + set_(DATA_FIELD, name(NAME)) + set_(DATA_ID_FIELD, name(ID)) + b"I\x01"
    + b"]" + bytes([C_DATA_FIELD, I_MISSING]) + string_any(" Antonia ") + b"]" + bytes([C_NAME, NAME_BLANK, I_INT, 0]) + string_any("anna")
    + b"]" + bytes([C_DATA_ID_FIELD, I_INT, 2]) + bytes([A_INT, 42]) + b"[" + bytes([C_NAME, ID_UPPER, I_INT, 2])
    + b"[" + bytes([C_DATA_FIELD, I_NULL]) + b"]" + bytes([C_DATA_ID_FIELD, I_INT, 1]) + string_any("no number")
    + b"]" + bytes([C_STRING]) + s("Zip") + bytes([I_MISSING]) + bytes([A_INT, 7]),
    "records_follow_items": FILL + b"]" + bytes([C_NAME, CITY, I_INT, 2]) + string_any("Bonn")
    + b"]" + bytes([C_NAME, CITY, I_INT, 0]) + string_any("Aachen") + insert("new", bytes([I_INT, 1]))
    + b"-\x00" + b"+" + s("last") + b"[" + bytes([C_NAME, CITY, I_INT, 2]) + b"-\x03" + b"-\x00" + b"-\x00" + b"-\x00",
    "find_item": FILL + b"D\x02\x00\x4d" + b"?\x01" + s("anna") + b"\x00\x00" + b"?\x01" + s("an") + b"\x00\x01"
    + b"?\x01" + s("an") + b"\x00\x00" + b"?\x00" + bytes([A_INT, 0]) + b"\x01\x00" + b"?\x00" + bytes([A_LONG, 0, 77]) + b"\x01\x00"
    + b"?\x00" + bytes([A_OBJECT, 1]) + b"\x00\x00" + b"?\x00" + bytes([A_NULL]) + b"\x01\x01" + b"?\x01\x00\x00\x01",
    "settings": FILL + set_(MUST_FIT, b"\x00") + set_(MUST_HAVE) + set_(TRIM, b"\x00") + b"f" + typed("  an  ") + b"e" + b"K" + b"F"
    + set_(TRIM) + b"F" + set_(FORBIDDEN, s("'a")) + typed("O'Neil a A") + b"Q" + b"q" + b"o" + set_(MUST_FIT) + b"K",
    "locked_and_disabled": FILL + set_(LOCKED) + b"f" + typed("an") + b"e1" + set_(LOCKED, b"\x00") + set_(ENABLED, b"\x00")
    + b"e1" + b"m\x20\x20\x00" + set_(ENABLED) + b"fe" + b"o",
    "complete_now_and_query": FILL + b"f" + typed("an") + b"eQ" + set_(TEXT, b"\x00" + s("ber")) + b"Q" + b"q"
    + set_(TEXT, b"\x03" + bytes([A_OBJECT, 1])) + set_(TEXT, b"\x02") + b"q" + b"o",
    "database_mode": FILL + set_(DATA_FIELD, name(NAME)) + set_(SQL, s("select")) + set_(CONNECTION, b"\x00")
    + b"f" + typed("an") + b"e" + b"1" + b"Q" + b"g" + set_(CONNECTION, b"\x01") + b"f" + typed("an") + b"eo",
    "property_values": set_(MAX_LENGTH, small(-1)) + set_(MAX_LENGTH, small(3)) + set_(SEL_START, small(-1))
    + set_(SEL_LENGTH, small(2)) + set_(LIST_INDEX, small(5)) + set_(0x80 | ENABLED, string_any("x"))
    + set_(0x80 | MIN_LEN, bytes([A_DOUBLE, 0xFB, 0xFF])) + set_(CONNECTION, b"\x02" + string_any("x"))
    + set_(SELECT_ON_FOCUS) + FILL + b"f" + typed("a") + b"ey" + b"wo",
    "resize_and_buttons": FILL + b"z\x00\x00" + b"f12" + b"z\xff\xff" + b"12" + b"V" + b"z\x40\x10" + b"12" + b"Vo",
    "big_list": b"*\x3f" + s("Item") + b"*\x3f" + s("item ") + b"*\x3f" + s("ITEM\u00e4") + probe("item1", 5)
    + probe("ITEM \u00c4", -1) + b"f" + typed("item 3") + b"e" + b"ww" + b"e" + b"yf" + typed("iii") + b"o",
    "timer_steps": FILL + b"f" + typed("an") + b"e" + b"a\x01" + b"a\x01" + b"a\x1e" + b"A" + b"a\xff" + b"x" + b"A" + b"o",
}


def dictionary():
    steps = {
        "fill": FILL, "type_an": typed("an"), "type_ant": typed("ant"), "type_berta": typed("Berta"),
        "type_apostrophe": typed("O'"), "type_odd": b"c\x80c\x82c\x89c\x8d", "focus": b"f",
        "leave": b"g", "enter": b"e", "escape": b"x", "choose": b"l\x00", "close": b"L",
        "tick": b"A", "style": b"y", "button1": b"1", "button2": b"2", "button2_toggle": b"V",
        "add": add("Anneliese"), "insert_0": insert("Zora", bytes([I_INT, 0])),
        "insert_bad": insert("Zora", bytes([I_INT, MINUS_TWO])), "remove_0": b"-\x00",
        "clear": b"C", "set_item": b"S\x00" + s("Berta") + b"\x00\x01", "list_index_0": b"I\x00",
        "list_index_none": b"I" + small(-1), "list_0": b"=\x00" + s("Zora"),
        "item_data_0": b"D\x00\x00\x07",
        "item_city": b"]" + bytes([C_NAME, CITY, I_INT, 0]) + string_any("Bonn"),
        "item_column_0": b"[" + bytes([C_NUMBER, 0, I_MISSING]),
        "data_field": set_(DATA_FIELD, name(NAME)), "data_id_field": set_(DATA_ID_FIELD, name(ID)),
        "find_an": b"?\x01" + s("an") + b"\x00\x01", "must_fit_off": set_(MUST_FIT, b"\x00"),
        "must_have": set_(MUST_HAVE), "trim_off": set_(TRIM, b"\x00"),
        "forbidden": set_(FORBIDDEN, s("'a")), "locked": set_(LOCKED), "unlocked": set_(LOCKED, b"\x00"),
        "disabled": set_(ENABLED, b"\x00"), "enabled": set_(ENABLED), "min_len_3": set_(MIN_LEN, small(3)),
        "complete_now": b"Q", "start_query": b"q", "many_items": b"*\x3f" + s("Item"),
        "probe_an": probe("AN", 0),
    }

    def quoted(data):
        return "".join(chr(b) if 32 <= b < 127 and chr(b) not in '"\\' else f"\\x{b:02X}"
                       for b in data)

    lines = ["# libFuzzer dictionary for combobox_fuzz: whole steps of its input format.",
             "# Written by fuzz/make_combobox_corpus.py."]
    lines += [f'{key}="{quoted(data)}"' for key, data in steps.items()]
    return "\n".join(lines) + "\n"


def main():
    here = pathlib.Path(__file__).resolve().parent
    out = here / "corpus" / "combobox"
    out.mkdir(parents=True, exist_ok=True)
    for key, data in SEEDS.items():
        (out / key).write_bytes(data)
    (here / "combobox_fuzz.dict").write_text(dictionary())
    print(f"{len(SEEDS)} seeds in {out}, dictionary in {here / 'combobox_fuzz.dict'}")


if __name__ == "__main__":
    main()
