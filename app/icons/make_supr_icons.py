#!/usr/bin/env python3
"""Draws the suppression editor's icons with the shapes of make_icons.py.

Tool-bar icons (28x28, with greyed variants): new, up, down, save. Row marks
of the list (16x16 on white): suppress, unsuppress, check (a set that can be
saved) and none (one that cannot).

Run it from this folder after changing a drawing: python3 make_supr_icons.py
"""
import os

from make_icons import Canvas, S, circle, poly, rect, rrect, seg, ellipse, write


def sheet(c):
    body = poly([(6, 3), (17, 3), (22, 8), (22, 25), (6, 25)])
    c.paint(lambda x, y: body(x - 1, y - 1), '#707070')
    c.paint(body, '#ffffff')
    c.paint(poly([(17, 3), (22, 8), (17, 8)]), '#b8c0c8')
    for y in (12, 15, 18):
        c.paint(seg(9, y, 19, y, 1.2), '#9aa4ae')


def new_entry():
    c = Canvas(S, S)
    sheet(c)
    c.paint(circle(20, 20, 6.5), '#1e8449')
    c.paint(seg(20, 16.2, 20, 23.8, 2.4), '#ffffff')
    c.paint(seg(16.2, 20, 23.8, 20, 2.4), '#ffffff')
    return c


def move(up):
    c = Canvas(S, S)
    # three rows of a list, the middle one being moved
    for y, colour in ((5, '#9aa4ae'), (12, '#2f6db5'), (19, '#9aa4ae')):
        c.paint(rrect(3, y, 16, y + 4.5, 1), colour)
    if up:
        shape = poly([(20, 24), (24, 24), (24, 12), (27, 12), (22, 4), (17, 12), (20, 12)])
    else:
        shape = poly([(20, 4), (24, 4), (24, 16), (27, 16), (22, 24), (17, 16), (20, 16)])
    c.paint(lambda x, y: shape(x - 0.8, y - 0.8), '#5a6b80')
    c.paint(shape, '#e67e22')
    return c


def save():
    c = Canvas(S, S)
    disk = rrect(4, 4, 24, 24, 2)
    c.paint(lambda x, y: disk(x - 1, y - 1), '#4a4a4a')
    c.paint(disk, '#2f6db5')
    c.paint(rect(8, 4, 20, 11), '#e8ecf0')
    c.paint(rect(16, 5.5, 18.5, 9.5), '#2f6db5')
    c.paint(rect(7, 15, 21, 24), '#ffffff')
    for y in (18, 21):
        c.paint(seg(9, y, 19, y, 1.0), '#9aa4ae')
    return c


def eye(crossed):
    c = Canvas(16, 16)
    c.paint(ellipse(8, 8, 7.5, 4.6), '#3c4650')
    c.paint(ellipse(8, 8, 6.3, 3.5), '#ffffff')
    c.paint(circle(8, 8, 2.8), '#2f6db5')
    c.paint(circle(8, 8, 1.2), '#111111')
    if crossed:
        c.paint(seg(2, 14.5, 14, 1.5, 3.0), '#ffffff')
        c.paint(seg(2, 14.5, 14, 1.5, 1.8), '#c0392b')
    return c


def check():
    c = Canvas(16, 16)
    c.paint(seg(2.5, 8.5, 6.5, 12.5, 2.6), '#1e8449')
    c.paint(seg(6.5, 12.5, 13.5, 3.5, 2.6), '#1e8449')
    return c


def lock():
    c = Canvas(16, 16)
    c.paint(lambda x, y: 3.2 * 3.2 <= (x - 8) ** 2 + (y - 7) ** 2 <= 4.6 * 4.6 and y <= 7.5, '#6a6a6a')
    c.paint(rrect(3.5, 7, 12.5, 14.5, 1), '#8c96a0')
    c.paint(circle(8, 10.5, 1.2), '#333333')
    return c


if __name__ == '__main__':
    os.chdir(os.path.dirname(os.path.abspath(__file__)))
    write('supr_new', new_entry())
    write('supr_up', move(True))
    write('supr_down', move(False))
    write('supr_save', save())
    white = (0xff, 0xff, 0xff)
    write('supr_on', eye(True), False, white)
    write('supr_off', eye(False), False, white)
    write('supr_check', check(), False, white)
    write('supr_none', lock(), False, white)
