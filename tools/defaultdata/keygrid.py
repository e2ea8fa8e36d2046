"""Physical layout of the keyboard: 23 columns x 6 rows of logical keys (170 = empty cell).

Used to colour the factory custom-lighting sets by column and by row.
"""

EMPTY = 170

KEY_GRID = [
    [170, 120, 121, 122, 123, 124],
    [170, 21, 42, 63, 84, 105],
    [0, 22, 43, 64, 102, 106],
    [1, 23, 44, 65, 85, 20],
    [2, 24, 45, 66, 86, 107],
    [3, 25, 46, 67, 87, 126],
    [4, 26, 47, 68, 88, 108],
    [18, 27, 48, 69, 89, 128],
    [5, 28, 49, 70, 90, 129],
    [6, 29, 50, 71, 91, 109],
    [7, 30, 51, 72, 92, 110],
    [8, 31, 52, 73, 93, 112],
    [9, 32, 53, 74, 94, 113],
    [10, 33, 54, 62, 100, 114],
    [11, 34, 55, 75, 19, 115],
    [12, 101, 103, 79, 95, 130],
    [56, 38, 59, 76, 96, 116],
    [35, 39, 60, 77, 97, 131],
    [37, 40, 61, 78, 98, 117],
    [58, 41, 132, 119, 99, 133],
    [134, 135, 136, 137, 118, 138],
    [139, 141, 143, 145, 147, 149],
    [140, 142, 144, 146, 148, 150],
]

COLUMNS = len(KEY_GRID)
ROWS = len(KEY_GRID[0])


# Keys the lighting grid leaves out (Print Screen, Scroll Lock, Pause, the two function keys
# beside them, Home, End, four international keys, Menu, right GUI), placed in the column and
# row they sit nearest to, so that colour gradients reach them too.
OFF_GRID = {
    13: (16, 0), 14: (17, 0), 15: (18, 0), 16: (19, 0), 17: (20, 0),
    36: (17, 1), 57: (17, 2),
    80: (13, 3), 81: (14, 3), 82: (13, 4), 83: (14, 4),
    111: (11, 5), 125: (10, 5),
}


def cells():
    """(column, row, logical key) of every key that can carry a colour."""
    for c, column in enumerate(KEY_GRID):
        for r, k in enumerate(column):
            if k != EMPTY:
                yield c, r, k
    for k, (c, r) in sorted(OFF_GRID.items()):
        yield c, r, k
