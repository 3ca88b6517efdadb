#!/usr/bin/env python3
"""Writes the sample logger files of this folder: four daily files 261201.csv to
261204.csv (one record every 15 minutes, lines ended by CR LF) and their merge
-261201-261204.csv (the same lines, each ended by CR alone).

T1 is an outdoor temperature (below zero at night), T2 a pulse counter, T3 a room
temperature; A1..A8 are analog inputs with distinct shapes. Records whose T1 climbs
above +7.5 (days 3 and 4) carry the status 00T, those of day 2 with A1 above 85 the
status 00A; day 1 has no flagged record. Each file starts with a short header line and
an empty line, and day 2 has a short "POWER FAIL" line among its records."""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def temp(v):
    s = '-' if v < 0 else '+'
    t = int(round(abs(v) * 10))
    return '%s%03d.%d' % (s, t // 10, t % 10)


def analog(v):
    t = int(round(max(0.0, min(99.9, v)) * 10))
    return '%02d.%d' % (t // 10, t % 10)


def day_lines(day):
    lines = ['TK5063GM data logger,ID 5063,26-12-%02d' % day, '']
    daily = sum(3 + (q % 7) for q in range(96))
    counter = 1000 + daily * (day - 1)   # runs on from day to day
    for q in range(96):
        h, m = divmod(q * 15, 60)
        x = (q + 96 * (day - 1)) / 96.0           # days since the first sample day
        hour = q / 4.0
        t1 = 1.0 - 5.5 * math.cos(2 * math.pi * (hour - 2) / 24) + 0.8 * (day - 1)
        counter += 3 + (q % 7)
        t3 = 21.0 + 0.6 * math.sin(2 * math.pi * hour / 6)
        a = [
            50 + 40 * math.sin(2 * math.pi * hour / 24),     # A1: slow wave
            (q * 99.9 / 95),                                 # A2: daily ramp
            12.7 if q % 48 < 24 else 31.4,                   # A3: two steps
            30 + 10 * math.cos(2 * math.pi * hour / 8),      # A4: faster wave
            5 + 2 * x,                                       # A5: slow rise
            75 - 0.25 * q,                                   # A6: falling line
            60 + 12 * math.sin(2 * math.pi * hour / 12),     # A7: half-day wave
            20.0 + (q % 12) * 0.5,                           # A8: saw tooth
        ]
        digital = ['1' if (q >> b) & 1 else '0' for b in range(12)]
        outputs = ['1' if t1 > 4 and b == 7 else '0' for b in range(8)]
        status = '000'
        if t1 > 7.5:
            status = '00T'
        elif a[0] > 85 and day == 2:
            status = '00A'
        fields = ['%02d.12.2026' % day, '%02d:%02d:00' % (h, m),
                  temp(t1), '%06d' % counter, temp(t3)] + [analog(v) for v in a] + \
            digital + outputs + [status]
        assert len(fields) == 34
        lines.append(','.join(fields))
        if day == 2 and q == 52:
            lines.append('POWER FAIL 13:05')
    return lines


def main():
    merged = []
    for day in range(1, 5):
        lines = day_lines(day)
        with open(os.path.join(HERE, '2612%02d.csv' % day), 'wb') as f:
            f.write(''.join(l + '\r\n' for l in lines).encode('cp1252'))
        merged += lines
    with open(os.path.join(HERE, '-261201-261204.csv'), 'wb') as f:
        f.write(''.join(l + '\r' for l in merged).encode('cp1252'))


if __name__ == '__main__':
    main()
