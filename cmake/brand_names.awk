# The names the exe carries for a brand folder's brand.ini: BrandWord and Caption
# of its [Brand] section, read as the installer reads them (section and key names
# without regard to case, the first occurrence wins, blanks around a value dropped,
# a value in matching quotes loses them). Prints "BrandWord=..." and "Caption=..."
# for the keys given. Windows reads these names from the exe's version information
# in any language, so they must be printable ASCII without " \ ; < >: any other
# value stops with a message and exit status 1.
#
#   LC_ALL=C awk -f brand_names.awk brand.ini

function trim(s) {
  sub(/^[ \t]+/, "", s)
  sub(/[ \t]+$/, "", s)
  return s
}

{ sub(/\r$/, "") }
/^[ \t]*;/ { next }
/^[ \t]*\[/ {
  name = $0
  sub(/^[ \t]*\[/, "", name)
  sub(/\].*$/, "", name)
  in_brand = tolower(trim(name)) == "brand" && !seen_brand
  if (in_brand) seen_brand = 1
  next
}
in_brand && index($0, "=") > 0 {
  key = tolower(trim(substr($0, 1, index($0, "=") - 1)))
  value = trim(substr($0, index($0, "=") + 1))
  if (length(value) >= 2 && substr(value, 1, 1) == "\"" && substr(value, length(value)) == "\"")
    value = substr(value, 2, length(value) - 2)
  if ((key == "brandword" || key == "caption") && !(key in got)) {
    got[key] = 1
    if (value == "") next
    if (value !~ /^[ -~]+$/ || value ~ /["\\;<>]/) {
      printf "%s:%d: %s=%s: the exe's names must be printable ASCII without \" \\ ; < >\n", \
        FILENAME, FNR, key, value > "/dev/stderr"
      failed = 1
      exit 1
    }
    print (key == "brandword" ? "BrandWord" : "Caption") "=" value
  }
}
END { exit failed }
