# Turns src/config/lang_texts.txt (UTF-8) into one PI_TEXT(name, English, GBK, Big5)
# per entry, every byte written as \xHH so that no trail byte (0x5C in Big5 and GBK)
# and no following letter is read as part of an escape.
#
#   LC_ALL=C awk -v iconv=PATH -v out=FILE -f lang_texts.awk lang_texts.txt
#
# Escapes are resolved in UTF-8 before the conversion; iconv converts each run of
# text between \xHH bytes. Any fault stops with a message and exit status 1.

BEGIN {
  code["en"] = "ASCII"
  code["zh-Hans"] = "CP936"
  code["zh-Hant"] = "CP950"
  hexdigits = "0123456789abcdefABCDEF"
  conv_in = out ".in"
  conv_out = out ".conv"
  failed = 0
  name = ""
  lang = ""
  printf "// Generated from src/config/lang_texts.txt by cmake/lang_texts.awk; edit that file.\n" > out
}

# line: where the fault is; FNR when empty.
function fail(msg, line) {
  printf "%s:%d: %s\n", FILENAME, line ? line : FNR, msg > "/dev/stderr"
  failed = 1
  cleanup()
  exit 1
}

function cleanup() {
  close(out)
  system("rm -f '" conv_in "' '" conv_out "'" (failed ? " '" out "'" : ""))
}

# The bytes of a UTF-8 text in the current language's code page, as lowercase hex pairs.
function convert(text,    cmd, line, hex, n, i, pair) {
  if (text == "") return ""
  printf "%s", text > conv_in
  close(conv_in)
  cmd = "'" iconv "' -f UTF-8 -t " code[lang] " < '" conv_in "' > '" conv_out "'" \
        " && od -An -v -tx1 '" conv_out "' || echo FAILED"
  hex = ""
  while ((cmd | getline line) > 0) {
    if (line == "FAILED") fail(name " " lang ": iconv cannot convert \"" text "\" to " code[lang], text_line)
    n = split(line, pair, " ")
    for (i = 1; i <= n; i++) hex = hex pair[i]
  }
  close(cmd)
  return hex
}

# Converts the text gathered so far and adds its bytes to the current language's.
function flush() {
  bytes[lang] = bytes[lang] convert(plain)
  plain = ""
}

# Reads one quoted text from s (which starts at its opening quote) into plain/bytes.
function quoted(s,    i, c, d) {
  for (i = 2; i <= length(s); i++) {
    c = substr(s, i, 1)
    if (c == "\"") {
      if (substr(s, i + 1) !~ /^[ \t]*$/) fail("text after the closing quote")
      return
    }
    if (c != "\\") {
      plain = plain c
      continue
    }
    d = substr(s, ++i, 1)
    if (d == "r") plain = plain "\r"
    else if (d == "n") plain = plain "\n"
    else if (d == "\"" || d == "\\") plain = plain d
    else if (d == "x" && index(hexdigits, substr(s, i + 1, 1)) && index(hexdigits, substr(s, i + 2, 1))) {
      flush()
      bytes[lang] = bytes[lang] tolower(substr(s, i + 1, 2))
      i += 2
    } else fail("unknown escape \\" d " (known: \\r \\n \\\" \\\\ \\xHH)")
  }
  fail("no closing quote")
}

function end_text() {
  if (lang != "") flush()
  lang = ""
}

function c_string(hex,    s, i) {
  s = "\""
  for (i = 1; i < length(hex); i += 2) s = s "\\x" toupper(substr(hex, i, 2))
  return s "\""
}

function end_entry(    l) {
  end_text()
  if (name == "") return
  for (l in code) {
    if (!(l in bytes)) fail(name " has no " l " text", name_line)
    if (bytes[l] ~ /^(..)*00/) fail(name " " l ": a zero byte would end the text early", name_line)
  }
  printf "PI_TEXT(%s,\n        %s,\n        %s,\n        %s)\n", name, c_string(bytes["en"]),
         c_string(bytes["zh-Hans"]), c_string(bytes["zh-Hant"]) > out
  for (l in code) delete bytes[l]
  name = ""
}

{ sub(/\r$/, "") }

/^[ \t]*(#|$)/ { next }

/^[A-Za-z_][A-Za-z0-9_]*[ \t]*$/ {
  end_entry()
  name = $1
  if (name in seen) fail(name " appears twice")
  seen[name] = 1
  name_line = FNR
  next
}

/^[a-zA-Z-]+[ \t]+"/ {
  end_text()
  if (name == "") fail("a text before the first entry name")
  if (!($1 in code)) fail("unknown language " $1 " (known: en, zh-Hans, zh-Hant)")
  if ($1 in bytes) fail(name " has two " $1 " texts")
  lang = $1
  text_line = FNR
  bytes[lang] = ""
  quoted(substr($0, index($0, "\"")))
  next
}

/^[ \t]+"/ {
  if (lang == "") fail("a continued text with no language line above it")
  quoted(substr($0, index($0, "\"")))
  next
}

{ fail("cannot read this line") }

END {
  if (!failed) end_entry()
  cleanup()
  if (failed) exit 1
}
