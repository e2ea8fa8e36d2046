"""Builds Qt Designer (.ui) files from a compact description.

A widget is W(class, name, geometry=(x, y, w, h), props={...}, dyn={...}, layout=L(...),
children=[...], items=[...]) (items: a combo box's item texts). Properties are typed by their Python value: bool, int, str, Rect, Size, Enum,
Set, Policy. `dyn` holds dynamic properties (skin attributes), written with stdset="0".
"""
import xml.etree.ElementTree as ET


class Rect(tuple):
    pass


class Size(tuple):
    pass


class Enum(str):
    pass


class Set(str):
    pass


class Policy(tuple):
    """(horizontal, vertical) size policy names, e.g. Policy(('Expanding', 'Fixed'))."""


def _prop(parent, name, value, dynamic=False):
    p = ET.SubElement(parent, 'property', name=name)
    if dynamic:
        p.set('stdset', '0')
    if isinstance(value, bool):
        ET.SubElement(p, 'bool').text = 'true' if value else 'false'
    elif isinstance(value, int):
        ET.SubElement(p, 'number').text = str(value)
    elif isinstance(value, Rect):
        r = ET.SubElement(p, 'rect')
        for tag, v in zip(('x', 'y', 'width', 'height'), value):
            ET.SubElement(r, tag).text = str(int(v))
    elif isinstance(value, Size):
        s = ET.SubElement(p, 'size')
        ET.SubElement(s, 'width').text = str(int(value[0]))
        ET.SubElement(s, 'height').text = str(int(value[1]))
    elif isinstance(value, Enum):
        ET.SubElement(p, 'enum').text = value
    elif isinstance(value, Set):
        ET.SubElement(p, 'set').text = value
    elif isinstance(value, Policy):
        sp = ET.SubElement(p, 'sizepolicy', hsizetype=value[0], vsizetype=value[1])
        ET.SubElement(sp, 'horstretch').text = '0'
        ET.SubElement(sp, 'verstretch').text = '0'
    else:
        ET.SubElement(p, 'string').text = str(value)


class Spacer:
    def __init__(self, name, horizontal=True, size=0, expanding=True):
        self.name, self.horizontal, self.size, self.expanding = name, horizontal, size, expanding

    def build(self, parent):
        s = ET.SubElement(parent, 'spacer', name=self.name)
        _prop(s, 'orientation', Enum('Qt::Horizontal' if self.horizontal else 'Qt::Vertical'))
        if not self.expanding:
            _prop(s, 'sizeType', Enum('QSizePolicy::Fixed'))
        size = (self.size, 0) if self.horizontal else (0, self.size)
        _prop(s, 'sizeHint', Size(size), dynamic=True)


class L:
    """A layout: kind 'QHBoxLayout', 'QVBoxLayout' or 'QGridLayout'. Box items are an item or
    (item, alignment); grid items are (item, row, column) or (item, row, column, rowspan,
    colspan)."""

    def __init__(self, kind, name, items, margins=(0, 0, 0, 0), spacing=0):
        self.kind, self.name, self.items, self.margins, self.spacing = kind, name, items, margins, spacing

    def build(self, parent):
        lay = ET.SubElement(parent, 'layout', {'class': self.kind, 'name': self.name})
        if self.kind == 'QGridLayout':
            _prop(lay, 'horizontalSpacing', self.spacing)
            _prop(lay, 'verticalSpacing', self.spacing)
        else:
            _prop(lay, 'spacing', self.spacing)
        for tag, v in zip(('leftMargin', 'topMargin', 'rightMargin', 'bottomMargin'), self.margins):
            _prop(lay, tag, v)
        for entry in self.items:
            if self.kind == 'QGridLayout':
                item, cell = entry[0], entry[1:]
                attrs = {'row': str(cell[0]), 'column': str(cell[1])}
                if isinstance(item, tuple):
                    item, attrs['alignment'] = item
                if len(cell) == 4:
                    attrs['rowspan'], attrs['colspan'] = str(cell[2]), str(cell[3])
                it = ET.SubElement(lay, 'item', attrs)
            elif isinstance(entry, tuple):
                item, align = entry
                it = ET.SubElement(lay, 'item', {'alignment': align})
            else:
                item = entry
                it = ET.SubElement(lay, 'item')
            item.build(it)


class W:
    def __init__(self, cls, name, geometry=None, props=None, dyn=None, layout=None, children=None,
                 fixed=None, items=None):
        self.cls, self.name, self.geometry = cls, name, geometry
        self.items = list(items or [])
        self.props = dict(props or {})
        self.dyn = dict(dyn or {})
        self.layout, self.children = layout, list(children or [])
        if fixed is not None:
            self.props['minimumSize'] = Size(fixed)
            self.props['maximumSize'] = Size(fixed)

    def build(self, parent):
        w = ET.SubElement(parent, 'widget', {'class': self.cls, 'name': self.name})
        if self.geometry is not None:
            _prop(w, 'geometry', Rect(self.geometry))
        for k, v in self.props.items():
            _prop(w, k, v)
        for k, v in self.dyn.items():
            _prop(w, k, v, dynamic=True)
        for text in self.items:
            _prop(ET.SubElement(w, 'item'), 'text', text)
        if self.layout is not None:
            self.layout.build(w)
        for c in self.children:
            c.build(w)
        return w


# Classes the program creates itself; Designer files declare them with their Qt base.
CUSTOM_BASES = {
    'CDeviceKeyButtonUI': 'QPushButton',
    'CSelectPanelUI': 'QWidget',
    'CCircleProgressUI': 'QProgressBar',
    'CDeviceProfileUI': 'QWidget',
    'CMpDevicePowerUI': 'QWidget',
    'CLightControlUI': 'QWidget',
    'CKeySetControlUI': 'QWidget',
    'CMacroControlUI': 'QWidget',
    'CVoice6533ControlUI': 'QWidget',
    'CMagicControlUI': 'QWidget',
    'CRedioMacroButtonUI': 'QPushButton',
    'KeyCanvas': 'QWidget',
    'CShootControlUI': 'QWidget',
    'RecoilPatternView': 'QWidget',
}


def _used_classes(widget, found):
    if widget.cls in CUSTOM_BASES:
        found.add(widget.cls)
    items = []
    if widget.layout is not None:
        items = [e[0] if isinstance(e, tuple) else e for e in widget.layout.items]
        items = [i[0] if isinstance(i, tuple) else i for i in items]
    for c in list(widget.children) + items:
        if isinstance(c, W):
            _used_classes(c, found)
    return found


def write_ui(path, class_name, root, comment=None):
    ui = ET.Element('ui', version='4.0')
    ET.SubElement(ui, 'class').text = class_name
    root.build(ui)
    used = sorted(_used_classes(root, set()))
    if used:
        cws = ET.SubElement(ui, 'customwidgets')
        for cls in used:
            cw = ET.SubElement(cws, 'customwidget')
            ET.SubElement(cw, 'class').text = cls
            ET.SubElement(cw, 'extends').text = CUSTOM_BASES[cls]
            ET.SubElement(cw, 'header').text = cls + '.h'
    ET.SubElement(ui, 'resources')
    ET.SubElement(ui, 'connections')
    ET.indent(ui, space=' ')
    text = ET.tostring(ui, encoding='unicode')
    head = '<?xml version="1.0" encoding="UTF-8"?>\n'
    if comment:
        head += '<!-- ' + comment + ' -->\n'
    with open(path, 'w', encoding='utf-8') as f:
        f.write(head + text + '\n')
