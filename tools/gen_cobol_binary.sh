#!/bin/sh
# Regenerates tests/binary/data/cobol_samples.txt: host representations of a
# spread of values as a COBOL compiler lays them out, the independent
# producer the binary suites compare against.  Run from the repository
# root.  GnuCOBOL (cobc, Debian package gnucobol3) is needed only here, to
# regenerate the data: CI neither installs it nor runs this script, and the
# cross-check suite reads only the committed file.
#
# Each line: KIND W D VALUE HEX, where VALUE is the compiler's own display of
# the number and HEX the field's bytes.  Zoned fields are compiled with
# -fsign=EBCDIC, so their sign is the overpunch { A..I } J..R in ASCII
# characters (kinds ZD*); the suites translate those characters to the
# EBCDIC code points of the S370F members.
set -eu
out=${1:-tests/binary/data/cobol_samples.txt}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Values with two decimals within S9(7)V99, from fixed cases and a fixed
# pseudo-random spread of magnitudes.
awk 'BEGIN {
  split("0 0.01 -0.01 0.5 -0.5 1 -1 9.99 -10 99.99 100 -12345.67 12345.67 9999999.99 -9999999.99 1000000 -0.09", fixed, " ");
  for (i = 1; i in fixed; ++i) print fixed[i];
  srand(20240611);
  for (i = 0; i < 24; ++i) {
    digits = 1 + int(rand() * 9);
    v = int(rand() * 10 ^ digits);
    if (rand() < 0.5) v = -v;
    printf "%.2f\n", v / 100;
  }
}' > "$work/values"
awk 'BEGIN { split("0 1 -1 7 -8 99 -99 127 -128 1000 -1000 9999 -9999 4660 -4661", v, " ");
  for (i = 1; i in v; ++i) print v[i]; }' > "$work/integers"

{
  cat <<'COB'
       IDENTIFICATION DIVISION.
       PROGRAM-ID. GENBIN.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       01 V PIC S9(7)V99.
       01 VI PIC S9(4).
       01 SHOWN PIC -9(7).99.
       01 SHOWNI PIC -9(4).
       01 GZT.
          05 ZT PIC S9(7)V99.
       01 GZL.
          05 ZL PIC S9(7)V99 SIGN LEADING.
       01 GZLS.
          05 ZLS PIC S9(7)V99 SIGN LEADING SEPARATE.
       01 GZTS.
          05 ZTS PIC S9(7)V99 SIGN TRAILING SEPARATE.
       01 GZU.
          05 ZU PIC 9(7)V99.
       01 GP3.
          05 P3 PIC S9(7)V99 COMP-3.
       01 GP3U.
          05 P3U PIC 9(7)V99 COMP-3.
       01 GP6.
          05 P6 PIC 9(8)V99 COMP-6.
       01 GB4.
          05 B4 PIC S9(7)V99 BINARY.
       01 GB4U.
          05 B4U PIC 9(7)V99 BINARY.
       01 GB8.
          05 B8 PIC S9(16)V99 BINARY.
       01 GB1.
          05 B1 PIC S9(2) BINARY.
       01 GB2.
          05 B2 PIC S9(4) BINARY.
       01 BUF PIC X(32).
       01 BUFR REDEFINES BUF.
          05 BYTE PIC X OCCURS 32.
       01 KIND PIC X(10).
       01 W PIC 99.
       01 D PIC 9.
       01 I PIC 99.
       01 K PIC 999.
       01 HX PIC X(16) VALUE "0123456789ABCDEF".
       01 OUTHEX PIC X(64).
       01 LINE-OUT PIC X(120).
       PROCEDURE DIVISION.
COB
  while read -r v; do
    echo "           MOVE $v TO V PERFORM EMIT-DECIMAL"
  done < "$work/values"
  while read -r v; do
    echo "           MOVE $v TO VI PERFORM EMIT-INTEGER"
  done < "$work/integers"
  cat <<'COB'
           STOP RUN.
       EMIT-DECIMAL.
           MOVE V TO SHOWN ZT ZL ZLS ZTS ZU P3 P3U P6 B4 B4U B8
           MOVE 2 TO D
           MOVE GZT TO BUF MOVE "ZD" TO KIND MOVE 9 TO W PERFORM EMIT
           MOVE GZL TO BUF MOVE "ZDL" TO KIND PERFORM EMIT
           MOVE GZU TO BUF MOVE "ZDU" TO KIND PERFORM EMIT
           MOVE GZLS TO BUF MOVE "ZDS" TO KIND MOVE 10 TO W PERFORM EMIT
           MOVE GZTS TO BUF MOVE "ZDT" TO KIND PERFORM EMIT
           MOVE GP3 TO BUF MOVE "S370FPD" TO KIND MOVE 5 TO W
           PERFORM EMIT
           MOVE GP3U TO BUF MOVE "S370FPDU" TO KIND PERFORM EMIT
           MOVE GP6 TO BUF MOVE "PK" TO KIND PERFORM EMIT
           MOVE GB4 TO BUF MOVE "S370FIB" TO KIND MOVE 4 TO W
           PERFORM EMIT
           MOVE GB4U TO BUF MOVE "S370FPIB" TO KIND PERFORM EMIT
           MOVE GB8 TO BUF MOVE "S370FIB" TO KIND MOVE 8 TO W
           PERFORM EMIT.
       EMIT-INTEGER.
           MOVE VI TO SHOWNI B2
           MOVE 0 TO D
           MOVE VI TO SHOWN
           IF VI > -100 AND VI < 100
             MOVE VI TO B1
             MOVE GB1 TO BUF MOVE "S370FIB" TO KIND MOVE 1 TO W
             PERFORM EMIT
           END-IF
           MOVE GB2 TO BUF MOVE "S370FIB" TO KIND MOVE 2 TO W
           PERFORM EMIT.
       EMIT.
           MOVE SPACES TO OUTHEX
           PERFORM VARYING I FROM 1 BY 1 UNTIL I > W
             COMPUTE K = FUNCTION ORD(BYTE(I)) - 1
             MOVE HX(K / 16 + 1:1) TO OUTHEX(I * 2 - 1:1)
             MOVE HX(FUNCTION MOD(K, 16) + 1:1) TO OUTHEX(I * 2:1)
           END-PERFORM
           MOVE SPACES TO LINE-OUT
           STRING FUNCTION TRIM(KIND) " " W " " D " "
                  FUNCTION TRIM(SHOWN) " " OUTHEX(1:W * 2)
                  DELIMITED BY SIZE INTO LINE-OUT
           DISPLAY FUNCTION TRIM(LINE-OUT TRAILING).
COB
} > "$work/genbin.cob"

cobc -x -fsign=EBCDIC -o "$work/genbin" "$work/genbin.cob"
{
  echo "# KIND W D VALUE HEX -- written by tools/gen_cobol_binary.sh with $(cobc --version | head -n 1)"
  "$work/genbin"
} > "$out"
echo "wrote $(grep -vc '^#' "$out") samples to $out"
