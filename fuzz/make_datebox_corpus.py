#!/usr/bin/env python3
"""Writes the seed corpus of datebox_fuzz (fuzz/corpus/datebox/): small scripts in the input format
documented at the top of fuzz/datebox_fuzz.cpp, one per behaviour worth starting from; and its
dictionary (fuzz/datebox_fuzz.dict): whole steps the fuzzer can splice into inputs.

Run from anywhere: python3 fuzz/make_datebox_corpus.py (it replaces the files it writes)."""
import pathlib

# Property numbers (kProps in datebox_fuzz_state.h).
(TEXT, DDATE, DATE_DMY, DATE_MDY, DATE_YMD, DATE_FORMAT, SEP_DMY, SEP_MDY, SEP_YMD, SMALLEST,
 LARGEST, CHECK_RANGE, INCLUDE_SMALLEST, INCLUDE_LARGEST, APPEARANCE, BORDER, MUST_HAVE, ENABLED,
 LOCKED, SELECT_ON_FOCUS, WARNING) = range(21)
# Layouts as DateFormat values and as the byte a 'e' operand needs (value + 1).
DMY, YMD, MDY = 0, 1, 2
# Kinds of Reader::Any.
A_INT, A_LONG, A_DOUBLE, A_STRING, A_BOOL, A_NULL, A_EMPTY, A_OBJECT = range(8)
# Separator indexes of kSeparatorChars.
DOT, SLASH, DASH, COMMA, LETTER, DIGIT, BLANK, COLON = range(8)


def s(text):
    data = text.encode("latin-1")
    return bytes([len(data)]) + data


def set_(prop, operand=b"\x01"):
    return b"s" + bytes([prop]) + operand


def raw_text(value):
    """A date text operand given as a plain string."""
    return b"\x00" + s(value)


def laid_out(day, month, year, layout=DMY, sep=DOT, kind=1, cut=None):
    """A date text operand built by the reader: kind 1 padded, 2 padded and cut, 3 unpadded."""
    data = bytes([kind + 4 * layout, day, month, year - 1890, sep])
    return data + (bytes([cut]) if kind == 2 else b"")


def text(value):
    return set_(TEXT, b"\x00" + raw_text(value))


def text_any(kind, operand=b""):
    return set_(TEXT, b"\x05" + bytes([kind]) + operand)


def date_value(day, month, year, time=None):
    if time is None:
        return b"\x00" + bytes([day, month, year - 1890])
    return b"\x01" + bytes([day, month, year - 1890, time])


def ddate(operand):
    return set_(DDATE, operand)


def date_in(prop, operand):
    return set_(prop, b"\x00" + operand)


def fmt(layout):
    return set_(DATE_FORMAT, bytes([layout + 1]))


def sep(prop, value):
    return set_(prop, s(value))


def typed(value):
    return b'"' + s(value)


def select(start, length):
    return b"S" + bytes([start, length])


def mouse(op, *coords):
    return op + bytes([0, *coords])


def reload(**stored):
    """'O': a damaged bag; the values are operands in kStored's order."""
    keys = ["Text", "DateFormat", "SeparatorDMY", "SeparatorMDY", "SeparatorYMD",
            "SmallestValue", "LargestValue", "Appearance", "BorderStyle", "Enabled", "Locked",
            "CheckRange", "MustHaveValue", "IncludeSmallestValueToRange"]
    mask, data = 0, b""
    for i, key in enumerate(keys):
        if key in stored:
            mask |= 1 << i
            data += stored[key]
    return b"O" + mask.to_bytes(2, "little") + data


SEEDS = {
    "typing_dmy": b"f05122024oW",
    "typing_supplies_zeros": b"f5.3.2024of1,1,1999o",
    "typing_refused": b"f3104of3002of310oof99o",
    "leap_day": b"f29022023bbbb" + b"2024o" + b"f" + b"bbbbbbbbbb" + b"29021900o",
    "layouts": fmt(YMD) + b"f20241205o" + fmt(MDY) + fmt(DMY) + fmt(3) + fmt(-1) + b"f" + b"l" * 4 + b"o" + fmt(MDY),
    "ymd_typing": fmt(YMD) + b"f2024-2-29o" + b"f" + b"b" * 10 + b"20230229o" + fmt(MDY) + b"f12312099o",
    "separators": sep(SEP_DMY, "") + b"f05122024o" + sep(SEP_DMY, "1") + b"f" + b"l" * 8 + b"0512o" + sep(SEP_DMY, "ab") + b"f1/2/2000o" + sep(SEP_YMD, ".") + fmt(YMD),
    "separator_changed_under_text": text("05.12.20") + sep(SEP_DMY, "/") + b"fbb24o" + sep(SEP_DMY, "0") + b"flllo",
    "backspace_and_left": b"f051220" + b"blLbl" + b"12" + b"c\x08" + b"o",
    "selections": text("05.12.2024") + b"fH1o" + text("05.12.2024") + b"f" + select(2, 3) + b"7" + select(0xf8, 1) + select(0, 0xf8) + select(0, 2) + b"do",
    "field_selection_edits": text("05.12.2024") + b"f" + select(0, 3) + b"d" + select(3, 2) + b"X" + b"P" + raw_text("11") + select(1, 1) + b"Io",
    "clipboard": b"p" + raw_text("05.12.2024") + b"f" + b"p" + raw_text("05.12.2024") + b"HCQVZ" + b"P" + laid_out(31, 12, 2099) + b"V" + b"p" + raw_text("1\r\n2") + b"o",
    "control_characters": b"f12" + b"c\x03c\x08c\x16c\x18c\x1ac\x1b" + b"c\x0dc\x0a" + b"cabc\x80c\x81c\x83o",
    "locked": text("05.12.20") + set_(LOCKED) + b"f24bl" + b"p" + raw_text("1") + b"HdX1" + b"o" + set_(LOCKED, b"\x00") + b"f24o",
    "disabled": set_(ENABLED, b"\x00") + b"f12" + mouse(b"m", 10, 30, 0) + set_(ENABLED) + b"f12o",
    "date_writes": ddate(date_value(5, 12, 2024)) + ddate(date_value(31, 12, 2100)) + ddate(date_value(0, 0, 1899)) + ddate(date_value(29, 2, 2024, 128)) + ddate(b"\x05") + ddate(b"\x02\x49\x00") + ddate(b"\x03\x00") + ddate(b"\x04" + bytes([5, 12, 2024 - 1890, 1])),
    "date_writes_odd_values": ddate(b"\x07" + bytes([A_OBJECT, 1])) + ddate(b"\x07" + bytes([A_OBJECT, 0])) + ddate(b"\x07" + bytes([A_BOOL, 1])) + ddate(b"\x07" + bytes([A_EMPTY])) + ddate(b"\x06" + raw_text("garbage")),
    "layout_date_writes": date_in(DATE_DMY, raw_text("05.12.2024")) + date_in(DATE_DMY, raw_text("5.12.2024")) + date_in(DATE_DMY, raw_text("31.04.2024")) + date_in(DATE_MDY, laid_out(5, 12, 2024, MDY, SLASH)) + date_in(DATE_YMD, laid_out(29, 2, 2023, YMD, DASH)) + date_in(DATE_YMD, laid_out(1, 1, 2000, YMD, LETTER, kind=2, cut=9)) + set_(DATE_MDY, b"\x07"),
    "text_writes": text("05.12.2024") + text("2024-12-05") + text("5.1") + text("") + set_(TEXT, b"\x02") + text_any(A_OBJECT, b"\x01") + text_any(A_DOUBLE, b"\x05\x00") + set_(TEXT, b"\x03" + date_value(1, 2, 2003)) + text("99999999999999"),
    "bounds": set_(SMALLEST, date_value(1, 1, 2000)) + set_(LARGEST, date_value(31, 12, 1999)) + set_(CHECK_RANGE) + b"f01012000o" + set_(INCLUDE_SMALLEST, b"\x00") + set_(INCLUDE_LARGEST, b"\x00") + set_(SMALLEST, date_value(1, 1, 1899)) + set_(LARGEST, b"\x03\x00") + set_(MUST_HAVE, b"\x00") + set_(WARNING) + text(""),
    "borders": set_(APPEARANCE, b"\x01") + b"f12" + set_(BORDER, b"\x01") + b"3" + set_(APPEARANCE, b"\x00") + set_(APPEARANCE, b"\x03") + set_(BORDER, b"\x00") + set_(BORDER, b"\x02") + set_(APPEARANCE, b"\x02") + b"o",
    "mouse": text("05.12.2024") + mouse(b"m", 20, 30, 0) + b"1" + mouse(b"G", 10, 30, 200, 30, 5) + b"2" + mouse(b"u", 20, 30) + b"3" + mouse(b"M", 5, 5) + b"o",
    "select_on_focus": set_(SELECT_ON_FOCUS) + text("05.12.2024") + b"f9o" + b"gtf" + b"1TtZo",
    "handlers": b"y\x01f12y\x02" + b"34y\x03" + b"5y\x00" + b"v\x02Kv\x01Kv\x00" + b"j\x01" + b"6o" + text("05.12.2024") + b"j\x00",
    "reload_damaged": reload(Text=b"\x00" + raw_text("31.04.2024"), DateFormat=bytes([A_INT, 7]), SeparatorDMY=bytes([A_STRING]) + s("ab"), SmallestValue=date_value(1, 1, 1899), LargestValue=b"\x03\x00", Appearance=bytes([A_STRING]) + s("x"), BorderStyle=b"\x03", Enabled=bytes([A_OBJECT, 1]), MustHaveValue=bytes([A_NULL])) + b"f1bl1o" + fmt(YMD) + b"W",
    "reload_long_text": reload(Text=b"\x00" + raw_text("05.12.2024 and more"), SeparatorMDY=s(""), Locked=b"\x00") + b"f1" + b"b" * 12 + b"2o" + fmt(MDY),
    "reload_clean": reload(Text=b"\x00" + raw_text("2024-12-05"), DateFormat=bytes([A_LONG, 0, 1]), SeparatorYMD=s("-")) + b"fbb06oW",
    "resize_and_time": b"z\x00\x00" + b"f12" + b"a\x30" + b"z\xff\xff" + b"3o",
    "round_trip": sep(SEP_MDY, "x") + fmt(MDY) + b"f12312099o" + set_(CHECK_RANGE) + set_(LOCKED) + b"W" + set_(TEXT, b"\x02") + b"W",
}


def dictionary():
    steps = {
        "type_dmy": b"05122024", "type_ymd": b"20241205", "type_mdy": b"12052024",
        "type_leap": b"29022024", "text_date": text("05.12.2024"), "text_null": set_(TEXT, b"\x02"),
        "ddate_valid": ddate(date_value(5, 12, 2024)), "ddate_null": ddate(b"\x05"),
        "ddate_2100": ddate(date_value(1, 1, 2100)),
        "dmy_write": date_in(DATE_DMY, raw_text("05.12.2024")),
        "fmt_dmy": fmt(DMY), "fmt_ymd": fmt(YMD), "fmt_mdy": fmt(MDY), "fmt_bad": fmt(3),
        "sep_empty": sep(SEP_DMY, ""), "sep_digit": sep(SEP_DMY, "1"), "sep_two": sep(SEP_DMY, "ab"),
        "sep_dot": sep(SEP_DMY, "."), "sep_ymd_empty": sep(SEP_YMD, ""), "sep_mdy_digit": sep(SEP_MDY, "9"),
        "locked_on": set_(LOCKED), "locked_off": set_(LOCKED, b"\x00"),
        "enabled_off": set_(ENABLED, b"\x00"), "enabled_on": set_(ENABLED),
        "check_range": set_(CHECK_RANGE), "smallest_2000": set_(SMALLEST, date_value(1, 1, 2000)),
        "largest_1999": set_(LARGEST, date_value(31, 12, 1999)),
        "select_all": b"H", "select_middle": select(2, 3), "paste": b"p" + raw_text("05.12.2024"),
        "field_paste": b"P" + raw_text("1") + b"I", "focus_and_leave": b"fo",
        "left_left": b"ll", "handlers_off": b"v\x00y\x00j\x00", "round_trip": b"W",
        "reload_invalid": reload(Text=b"\x00" + raw_text("31.04.2024")),
    }

    def quoted(data):
        return "".join(chr(b) if 32 <= b < 127 and chr(b) not in '"\\' else f"\\x{b:02X}"
                       for b in data)

    lines = ["# libFuzzer dictionary for datebox_fuzz: whole steps of its input format.",
             "# Written by fuzz/make_datebox_corpus.py."]
    lines += [f'{name}="{quoted(data)}"' for name, data in steps.items()]
    return "\n".join(lines) + "\n"


def main():
    here = pathlib.Path(__file__).resolve().parent
    out = here / "corpus" / "datebox"
    out.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (out / name).write_bytes(data)
    (here / "datebox_fuzz.dict").write_text(dictionary())
    print(f"{len(SEEDS)} seeds in {out}, dictionary in {here / 'datebox_fuzz.dict'}")


if __name__ == "__main__":
    main()
