# Writes one document with its tables taken from docs/switches.txt (see there):
#   LC_ALL=C awk -v table=docs/switches.txt -f scripts/doc-tables.awk DOCUMENT
# Markdown: the lines between "<!-- generated from docs/switches.txt: KIND -->" and
# "<!-- end of generated KIND -->" (KIND: switches, commands, exit codes) are
# replaced. Plain text (*.txt): the section "Switches and exit codes", up to the
# next heading (a line underlined with dashes).

function fail(msg) {
  printf "%s: %s\n", table, msg > "/dev/stderr"
  failed = 1
  exit 1
}

function read_table(    line, section, n, f) {
  while ((getline line < table) > 0) {
    if (line ~ /^#/ || line ~ /^[ \t]*$/) continue
    if (line ~ /^\[.*\]$/) { section = substr(line, 2, length(line) - 2); continue }
    n = split(line, f, / \| /)
    if (section == "switches" && n == 2) { ns++; sw_name[ns] = f[1]; sw_text[ns] = f[2] }
    else if (section == "commands" && n == 3) { nc++; cm_line[nc] = f[1]; cm_what[nc] = f[2]; cm_codes[nc] = f[3] }
    else if (section == "exit codes" && n == 3) { ne++; ec_code[ne] = f[1]; ec_text[ne] = f[2]; ec_read[ne] = f[3] }
    else fail("a row of " n " fields in [" section "]: " line)
  }
  close(table)
  if (!ns || !nc || !ne) fail("a section is missing or empty")
}

function markdown(kind,    i) {
  if (kind == "switches") {
    print "| switch | what it does |"
    print "|---|---|"
    for (i = 1; i <= ns; i++) print "| `" sw_name[i] "` | " sw_text[i] " |"
  } else if (kind == "commands") {
    print "| command | what it does | exit codes |"
    print "|---|---|---|"
    for (i = 1; i <= nc; i++) print "| `" cm_line[i] "` | " cm_what[i] " | " cm_codes[i] " |"
  } else if (kind == "exit codes") {
    print "| code | meaning | a deployment tool reads it as |"
    print "|---|---|---|"
    for (i = 1; i <= ne; i++) print "| " ec_code[i] " | " ec_text[i] " | " ec_read[i] " |"
  } else {
    fail("no table " kind " for " FILENAME)
  }
}

# text, wrapped to 78 columns; the first line starts with head (padded to indent
# columns), the others with indent blanks.
function wrapped(head, text, indent,    words, n, i, line, pad, fresh) {
  gsub(/`/, "", text)
  pad = sprintf("%" indent "s", "")
  if (length(head) < indent) line = head substr(pad, 1, indent - length(head))
  else { print head; line = pad }
  fresh = 1
  n = split(text, words, / /)
  for (i = 1; i <= n; i++) {
    if (!fresh && length(line) + 1 + length(words[i]) > 78) { print line; line = pad; fresh = 1 }
    line = line (fresh ? "" : " ") words[i]
    fresh = 0
  }
  print line
}

function plain(    i) {
  print ""
  for (i = 1; i <= ns; i++) wrapped("  " sw_name[i], sw_text[i], 21)
  print ""
  print "Exit codes (what a deployment tool reads them as, in brackets):"
  print ""
  for (i = 1; i <= ne; i++) wrapped("  " ec_code[i], ec_text[i] " (" ec_read[i] ")", 8)
  print ""
}

BEGIN { read_table() }

{ doc[++lines] = $0 }

END {
  if (failed) exit 1
  text = FILENAME ~ /\.txt$/
  for (i = 1; i <= lines; i++) {
    line = doc[i]
    if (!text && match(line, /^<!-- generated from docs\/switches\.txt: [a-z ]+ -->$/)) {
      kind = line
      sub(/^<!-- generated from docs\/switches\.txt: /, "", kind)
      sub(/ -->$/, "", kind)
      print line
      markdown(kind)
      for (i++; i <= lines && doc[i] != "<!-- end of generated " kind " -->"; i++) {}
      if (i > lines) fail(FILENAME ": no end of the generated " kind)
      print doc[i]
      done++
    } else if (text && line == "Switches and exit codes" && doc[i + 1] ~ /^-+$/) {
      print line
      print doc[++i]
      plain()
      for (i++; i <= lines && !(doc[i] != "" && doc[i + 1] ~ /^-+$/); i++) {}
      i--
      done++
    } else {
      print line
    }
  }
  if (!done) fail(FILENAME ": no generated section")
}
