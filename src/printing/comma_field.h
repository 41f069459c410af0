#pragma once
// Walking a comma-separated text in place: the port list of a printer, the "device" profile value.

// The next field at cursor, or nullptr when the cursor points nowhere. Leading spaces are skipped,
// the comma ending the field is overwritten with a terminator and the cursor moves past it; at the
// end the cursor stays on the terminator, so the next call yields an empty field. Trailing spaces
// stay part of the field.
char* NextCommaField(char*& cursor);
