"""The four factory recoil scripts "ShootData_0.Shoot" ... "ShootData_3.Shoot".

Each script is 30 bullets of six macro events: a left click, then the horizontal and the
vertical pull that counter the gun's kick for that bullet, the vertical pull carrying the wait
until the next shot. Pulls are written here as (dx, dy) in counts: dx > 0 right, dx < 0 left,
dy > 0 down (against the barrel's climb), dy < 0 up.
"""

BULLETS = 30
EVENTS_PER_BULLET = 6
MACRO_FILE_VERSION = 64

EVENT_BUTTON = 1
EVENT_MOVE_X = 4
EVENT_MOVE_Y = 5
LEFT_BUTTON = 0x01
CLICK_HOLD_MS = 10
MOVE_X_WAIT_MS = 5
# What a bullet costs besides its own delay: the click hold and the wait after the x move.
FIXED_MS_PER_BULLET = CLICK_HOLD_MS + MOVE_X_WAIT_MS

GUN_NAMES = ["gun_1_txt", "gun_2_txt", "gun_3_txt", "gun_4_txt"]


class Gun:
    def __init__(self, rounds_per_minute, dy, dx):
        assert len(dy) == BULLETS and len(dx) == BULLETS
        self.interval_ms = round(60000 / rounds_per_minute)
        self.dy = dy
        self.dx = dx

    @property
    def bullet_delay(self):
        return self.interval_ms - FIXED_MS_PER_BULLET


GUNS = [
    # Assault rifle: a sharp climb over the first ten rounds that settles, drifting right
    # in the middle of the magazine and back left towards the end.
    Gun(600,
        dy=[4, 5, 6, 6, 6, 6, 5, 5, 5, 5, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3,
            3, 3, 3, 3, 3, 3, 3, 3, 3, 3],
        dx=[0, 0, 0, 0, -1, 0, -1, 0, -1, -1, -1, 0, -1, 0, 0, 1, 0, 1, 1, 0,
            1, 0, 1, 1, 0, 0, -1, 0, -1, 0]),
    # Submachine gun: fast, light climb, a shaky zig-zag sideways.
    Gun(900,
        dy=[3, 3, 4, 4, 4, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2,
            2, 2, 2, 2, 2, 2, 2, 2, 2, 2],
        dx=[0, 1, 0, -1, 1, 0, -1, 1, 0, -1, 1, -1, 0, 1, -1, 1, 0, -1, 1, -1,
            0, 1, -1, 1, 0, -1, 1, -1, 0, 1]),
    # Light machine gun: heavy climb at first and a steady pull to the right all along.
    Gun(750,
        dy=[6, 7, 8, 8, 7, 7, 6, 6, 6, 5, 5, 5, 5, 5, 5, 5, 4, 4, 4, 4,
            4, 4, 4, 4, 4, 4, 4, 4, 4, 4],
        dx=[0, 0, -1, -1, -1, -1, -2, -1, -1, -1, -2, -1, -1, -1, -2, -1, -1, -1, -2, -1,
            -1, -1, -2, -1, -1, -1, -2, -1, -1, -1]),
    # Marksman rifle: slow single shots, each with a large kick and a little sway.
    Gun(300,
        dy=[9, 9, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10,
            10, 10, 10, 10, 10, 10, 10, 10, 10, 10],
        dx=[0, 1, 0, -1, 0, 1, 0, -1, 0, 1, 0, -1, 0, 1, 0, -1, 0, 1, 0, -1,
            0, 1, 0, -1, 0, 1, 0, -1, 0, 1]),
]


def _event(action, button, delay, kind):
    return {"Action": action, "Button": button, "Delay": delay, "Type": kind}


def _x_action(dx):
    return "down" if dx < 0 else "up"      # "down" moves left


def _y_action(dy):
    return "down" if dy < 0 else "up"      # "down" moves up


def bullet_events(dx, dy, delay):
    hx, vy = _x_action(dx), _y_action(dy)
    return [
        _event("down", LEFT_BUTTON, CLICK_HOLD_MS, EVENT_BUTTON),
        _event("up", LEFT_BUTTON, 0, EVENT_BUTTON),
        _event(hx, abs(dx), MOVE_X_WAIT_MS, EVENT_MOVE_X),
        _event(vy, abs(dy), delay, EVENT_MOVE_Y),
        _event(hx, 0, 0, EVENT_MOVE_X),
        _event(vy, 0, 0, EVENT_MOVE_Y),
    ]


def script(slot):
    gun = GUNS[slot]
    events = []
    for b in range(BULLETS):
        events += bullet_events(gun.dx[b], gun.dy[b], gun.bullet_delay)
    return {"MacroName": GUN_NAMES[slot], "Guid": f"ShootData_{slot}", "Events": events,
            "Version": MACRO_FILE_VERSION}


def scripts():
    return {f"ShootData_{slot}.Shoot": script(slot) for slot in range(len(GUNS))}
